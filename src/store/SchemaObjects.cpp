#include "SchemaObjects.h"
#include "Database.h"
#include "Query.h"

namespace {

QString existenceQuery(SchemaObject kind)
{
    switch (kind) {
    case SchemaObject::Table:
        return QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                              "AND RDB$RELATION_NAME = :NAME");
    case SchemaObject::Column:
        return QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                              "AND RDB$FIELD_NAME = :NAME AND RDB$RELATION_NAME = :TABLENAME");
    case SchemaObject::Index:
        return QStringLiteral("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_NAME = :NAME");
    case SchemaObject::Trigger:
        return QStringLiteral("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = :NAME");
    case SchemaObject::Procedure:
        return QStringLiteral("SELECT COUNT(*) FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = :NAME");
    case SchemaObject::Exception:
        return QStringLiteral("SELECT COUNT(*) FROM RDB$EXCEPTIONS WHERE RDB$EXCEPTION_NAME = :NAME");
    case SchemaObject::Sequence:
        break;
    }
    return QStringLiteral("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = :NAME");
}

} // namespace

bool schemaObjectExists(TDatabase &db, SchemaObject kind, const QString &name, const QString &table)
{
    db.defaultTransaction()->start();
    TQuery q(&db);
    q.setSql(existenceQuery(kind));
    q.paramByName(QStringLiteral("NAME")).setAsString(name.toUpper());
    if (kind == SchemaObject::Column)
        q.paramByName(QStringLiteral("TABLENAME")).setAsString(table.toUpper());
    q.execQuery();
    const bool exists = q.asInteger(0) > 0;
    q.close();
    return exists;
}

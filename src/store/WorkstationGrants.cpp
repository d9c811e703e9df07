#include "WorkstationGrants.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "EvidenceRights.h"
#include "SchemaObjects.h"
#include "Query.h"
#include <QRegularExpression>

void grantWorkstationUser(TDatabase &database, const QString &user)
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]*$"));
    if (!plainName.match(user).hasMatch())
        throw EDatabaseError(QStringLiteral("„%1“ ist kein gültiger Benutzername.").arg(user));
    TTransaction *t = database.defaultTransaction();
    t->start();
    const QString login = user.toUpper();
    TQuery grant(&database);
    const auto run = [&grant](const QString &statement) {
        grant.setSql(statement);
        grant.execQuery();
        grant.close();
    };
    TQuery relations(&database);
    relations.setSql(QStringLiteral("SELECT TRIM(RDB$RELATION_NAME), IIF(RDB$VIEW_BLR IS NULL, 0, 1) FROM RDB$RELATIONS "
                                    "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"));
    QList<std::pair<QString, bool>> tables;
    for (relations.execQuery(); !relations.eof(); relations.next())
        tables.append({relations.asString(0), relations.asInteger(1) != 0});
    relations.close();
    for (const auto &[table, view] : tables)
        run(QStringLiteral("GRANT %1 ON %2 TO USER %3").arg(workstationPrivileges(table, view), table, login));
    const QStringList sequences = firstColumn(database, QStringLiteral("SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS "
                                                                 "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"));
    for (const QString &sequence : sequences)
        run(QStringLiteral("GRANT USAGE ON SEQUENCE %1 TO USER %2").arg(sequence.trimmed(), login));
    for (const QString &procedure : kChainProcedures)
        if (schemaObjectExists(database, SchemaObject::Procedure, procedure))
            run(QStringLiteral("GRANT EXECUTE ON PROCEDURE %1 TO USER %2").arg(procedure, login));
    t->commit();
}

QStringList workstationLoginsWith(TDatabase &database, const QString &table, QChar privilege)
{
    return firstColumn(database, QStringLiteral("SELECT DISTINCT TRIM(RDB$USER) FROM RDB$USER_PRIVILEGES "
                                                "WHERE RDB$RELATION_NAME = '%1' AND RDB$PRIVILEGE = '%2' "
                                                "AND RDB$USER_TYPE = 8 AND RDB$USER <> CURRENT_USER")
                                     .arg(table, privilege));
}

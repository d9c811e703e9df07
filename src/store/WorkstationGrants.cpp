#include "WorkstationGrants.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "Query.h"
#include <QRegularExpression>

void grantWorkstationUser(TDatabase &database, const QString &user)
{
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z][A-Za-z0-9_$]*$"));
    if (!plainName.match(user).hasMatch())
        throw EDatabaseError(QStringLiteral("„%1“ ist kein gültiger Benutzername.").arg(user));
    TTransaction *t = database.defaultTransaction();
    t->start();
    const QStringList tables = firstColumn(database, QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS "
                                                              "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"));
    const QStringList sequences = firstColumn(database, QStringLiteral("SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS "
                                                                 "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"));
    TQuery grant(&database);
    for (const QString &table : tables) {
        grant.setSql(QStringLiteral("GRANT ALL ON %1 TO USER %2").arg(table.trimmed(), user.toUpper()));
        grant.execQuery();
        grant.close();
    }
    for (const QString &sequence : sequences) {
        grant.setSql(QStringLiteral("GRANT USAGE ON SEQUENCE %1 TO USER %2").arg(sequence.trimmed(), user.toUpper()));
        grant.execQuery();
        grant.close();
    }
    t->commit();
}

QStringList workstationLoginsWith(TDatabase &database, const QString &table, QChar privilege)
{
    return firstColumn(database, QStringLiteral("SELECT DISTINCT TRIM(RDB$USER) FROM RDB$USER_PRIVILEGES "
                                                "WHERE RDB$RELATION_NAME = '%1' AND RDB$PRIVILEGE = '%2' "
                                                "AND RDB$USER_TYPE = 8 AND RDB$USER <> CURRENT_USER")
                                     .arg(table, privilege));
}

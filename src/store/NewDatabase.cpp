#include "NewDatabase.h"
#include "Database.h"
#include "UFirebird.h"

QStringList connectionParams()
{
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=lindgrove"), QStringLiteral("lc_ctype=ISO8859_1")};
}

QStringList createDatabaseParams()
{
    return {QStringLiteral("/* CREATE DATABASE */"), QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'lindgrove'"),
            QStringLiteral("DEFAULT CHARACTER SET ISO8859_1"), QStringLiteral("/* SQLdialect 3 */")};
}

void createVelmoraDatabase(TDatabase &connection, const QString &path, const std::function<void()> &afterCreate)
{
    const QStringList kept = connection.params;
    struct Restore {
        TDatabase &db;
        const QStringList &params;
        ~Restore() { db.params = params; }
    } restore{connection, kept};

    connection.close();
    connection.setDatabaseName(path);
    connection.sqlDialect = 3;
    connection.params = createDatabaseParams();
    connection.createDatabase();
    if (afterCreate)
        afterCreate();
    connection.close();
    connection.params = kept;
    TFirebird firebird(&connection);
    firebird.doTables();
    firebird.doDefaults();
    firebird.doDefaults2();
}

#include "NewDatabase.h"
#include "PartFiles.h"
#include "Database.h"
#include "DbError.h"
#include "UFirebird.h"
#include <QFile>
#include <QFileInfo>

QStringList connectionParams()
{
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=lindgrove"), QStringLiteral("lc_ctype=UTF8")};
}

QStringList createDatabaseParams(const QString &characterSet)
{
    return {QStringLiteral("/* CREATE DATABASE */"), QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'lindgrove'"),
            QStringLiteral("DEFAULT CHARACTER SET ") + characterSet, QStringLiteral("/* SQLdialect 3 */")};
}

QString partialDatabasePath(const QString &path) { return path + QStringLiteral(".part"); }

namespace {

void buildDatabase(TDatabase &connection, const QString &path, const std::function<void()> &afterCreate,
                   const std::function<void(TDatabase &)> &firstRows, const QString &characterSet)
{
    const QStringList kept = connection.params;
    struct Restore {
        TDatabase &db;
        const QStringList &params;
        ~Restore() { db.params = params; }
    } restore{connection, kept};

    connection.close();
    if (QFileInfo::exists(path))
        throw EDatabaseError(QStringLiteral("Datenbank existiert bereits"));
    // Built under a temporary name and renamed when complete: a failed or
    // killed creation leaves no half-built file under the chosen name.
    const QString partial = partialDatabasePath(path);
    QFile::remove(partial); // left by a creation that was killed
    const TRegisteredPartFile registered(partial);
    try {
        connection.setDatabaseName(partial);
        connection.sqlDialect = 3;
        connection.params = createDatabaseParams(characterSet);
        connection.createDatabase();
        if (afterCreate)
            afterCreate();
        connection.close();
        connection.params = kept;
        TFirebird firebird(&connection);
        firebird.doTables();
        firebird.doDefaults();
        if (firstRows) {
            firebird.doMarker();
            firstRows(connection);
        } else {
            firebird.doDefaults2();
        }
        connection.close();
        if (QFileInfo::exists(path) || !QFile::rename(partial, path))
            throw EDatabaseError(QStringLiteral("Die Datei %1 kann nicht angelegt werden.").arg(path));
    } catch (...) {
        try {
            connection.close();
        } catch (...) {
            // The file goes anyway.
        }
        connection.setDatabaseName(path);
        QFile::remove(partial);
        throw;
    }
    connection.setDatabaseName(path);
    connection.open();
}

} // namespace

void createVelmoraDatabase(TDatabase &connection, const QString &path, const std::function<void()> &afterCreate,
                           const QString &characterSet)
{
    buildDatabase(connection, path, afterCreate, {}, characterSet);
}

void createEmptyDatabase(TDatabase &connection, const QString &path, const std::function<void(TDatabase &)> &firstRows)
{
    buildDatabase(connection, path, {}, firstRows ? firstRows : [](TDatabase &) {}, kNewFileCharacterSet);
}

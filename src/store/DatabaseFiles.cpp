#include "DatabaseFiles.h"
#include "Database.h"
#include "DbError.h"
#include "NewDatabase.h"
#include "Query.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <ibase.h>

bool hasSettingsRow(TDatabase &database, int id, const QString &value)
{
    if (!database.defaultTransaction()->active())
        database.defaultTransaction()->start();
    TQuery query(&database);
    query.setSql(QStringLiteral("SELECT BEZEICHNUNG, WERT FROM SETTINGS WHERE ID =:id AND WERT =:wert"));
    query.paramByName(QStringLiteral("id")).setAsInteger(id);
    query.paramByName(QStringLiteral("wert")).setAsString(value);
    query.execQuery();
    const bool found = !query.eof();
    query.close();
    return found;
}

bool isVelmoraDatabase(TDatabase &database)
{
    try {
        return hasSettingsRow(database, 2, QStringLiteral("2"));
    } catch (const EDatabaseError &e) {
        if (e.hasEngineCode(isc_dsql_relation_err))
            return false; // no SETTINGS table
        throw;
    }
}

FileIdentity identifyDatabaseFile(const QString &path)
{
    TDatabase probe;
    TTransaction transaction(&probe);
    probe.params = connectionParams();
    try {
        probe.setDatabaseName(path);
        probe.open();
        const bool ours = isVelmoraDatabase(probe);
        transaction.rollback();
        return ours ? FileIdentity::Ours : FileIdentity::Foreign;
    } catch (const EDatabaseError &) {
        return FileIdentity::Unopenable;
    }
}

QStringList firstColumn(TDatabase &database, const QString &sql)
{
    TQuery query(&database);
    query.setSql(sql);
    QStringList values;
    for (query.execQuery(); !query.eof(); query.next())
        values << query.asString(0);
    return values;
}

QString backupFileName(const QDateTime &at, const QString &databasePath)
{
    return at.toString(QStringLiteral("yyyyMMdd_HHmm")) + u'_' + QFileInfo(databasePath).fileName();
}

int removeStaleBackupParts(const QString &folder, const QString &databasePath, const QDateTime &now)
{
    constexpr qint64 kRunningSeconds = 10 * 60;
    const QRegularExpression part(QStringLiteral("^\\d{8}_\\d{4}_%1\\.part$")
                                      .arg(QRegularExpression::escape(QFileInfo(databasePath).fileName())));
    int removed = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        if (part.match(file.fileName()).hasMatch() && file.lastModified().secsTo(now) > kRunningSeconds &&
            QFile::remove(file.filePath()))
            ++removed;
    return removed;
}

QStringList userTables(TDatabase &database)
{
    return firstColumn(database, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE "
                                                "COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL ORDER BY "
                                                "RDB$RELATION_NAME"));
}

#include "DatabaseFiles.h"
#include "Database.h"
#include "Query.h"
#include <QFile>
#include <QFileInfo>

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

QString backupFileName(const QDateTime &at, const QString &databasePath)
{
    return at.toString(QStringLiteral("yyyyMMdd_HHmm")) + u'_' + QFileInfo(databasePath).fileName();
}

QString copyFileCompletely(const QString &source, const QString &target,
                           const std::function<bool(qint64, qint64)> &progress)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(source, in.errorString());
    const QString partial = target + QStringLiteral(".part");
    QFile out(partial);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2").arg(partial, out.errorString());
    const qint64 total = in.size();
    qint64 done = 0;
    QByteArray chunk;
    for (;;) {
        chunk = in.read(1 << 20);
        if (chunk.isEmpty())
            break;
        if (out.write(chunk) != chunk.size()) {
            const QString reason = out.errorString();
            out.close();
            QFile::remove(partial);
            return QStringLiteral("Fehler beim Schreiben von %1: %2").arg(partial, reason);
        }
        done += chunk.size();
        if (progress && !progress(done, total)) {
            out.close();
            QFile::remove(partial);
            return QStringLiteral("Das Kopieren wurde abgebrochen.");
        }
    }
    if (in.error() != QFileDevice::NoError || done != total || !out.flush()) {
        out.close();
        QFile::remove(partial);
        return QStringLiteral("Die Datei %1 wurde nicht vollständig gelesen.").arg(source);
    }
    out.close();
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return QStringLiteral("Die Datei %1 kann nicht angelegt werden.").arg(target);
    }
    return QString();
}

#include "OpenFailure.h"
#include "Database.h"
#include "DbError.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ibase.h>
#include <unistd.h>

namespace {

bool isLocal(const QString &path)
{
    TDatabase probe;
    probe.setDatabaseName(path);
    return probe.isLocalFile();
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

QString damagedDatabaseText(const QString &path)
{
    return QStringLiteral("%1 ist keine Datenbank dieses Programms oder beschädigt.").arg(shown(path));
}

QString foreignDatabaseText(const QString &path)
{
    return kWrongDatabase + u'\n' + QStringLiteral("%1 ist keine Datenbank von Velmora Prüfprotokolle.").arg(shown(path));
}

QString openFailureCause(const QString &path, const EDatabaseError &error)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("Es ist keine Datenbankdatei angegeben.");
    if (error.hasEngineCode(isc_already_opened))
        return {};
    const QString noWrite = QStringLiteral("Keine Schreibberechtigung für %1.").arg(shown(path));
    if (error.hasEngineCode(isc_no_priv))
        return noWrite;
    if (!isLocal(path)) {
        if (error.hasEngineCode(isc_login))
            return QStringLiteral("Der Server nimmt Benutzer und Kennwort nicht an.");
        return error.message(); // a server's own words
    }
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("Die Datei %1 gibt es nicht.").arg(shown(path));
    if (file.isFile() && ::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0)
        return noWrite;
    if (error.hasEngineCode(isc_lock_dir_access) || error.hasEngineCode(isc_no_lock_mgr))
        return error.message(); // the engine's lock folder, not the file
    // The file is there, readable and writable, and nobody holds it.
    return damagedDatabaseText(path);
}

QString openFailureMessage(const QString &path, const EDatabaseError &error)
{
    // Through a server nobody holds a file; the server says what is wrong.
    if (!isLocal(path) && !path.trimmed().isEmpty()) {
        const QString cause = openFailureCause(path, error);
        return QStringLiteral("Keine Verbindung zur Datenbank %1 auf dem Server.\n").arg(path) + cause +
               (cause == error.message() ? QString() : u'\n' + error.message());
    }
    const QString cause = openFailureCause(path, error);
    if (cause.isEmpty())
        return kDatabaseInUse;
    return cause == damagedDatabaseText(path) ? cause + u'\n' + error.message() : cause;
}

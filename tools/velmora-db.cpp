// velmora-db: the administrators' companion of the program. Creates,
// upgrades, checks, backs up and restores database files with the
// program's own code.
#include "AnchorCommand.h"
#include "BackgroundUpgrade.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "CommandLine.h"
#include "CommandSignals.h"
#include "DbError.h"
#include "LabelCommand.h"
#include "ImportCommand.h"
#include "IndexStatistics.h"
#include "NewDatabase.h"
#include "OpenFailure.h"
#include "ProgramLocale.h"
#include "Query.h"
#include "DueCommand.h"
#include "FileCopy.h"
#include "HeldFiles.h"
#include "ReportCommand.h"
#include "ServerAccess.h"
#include "ServerLogin.h"
#include "WorkstationGrants.h"
#include "USettings.h"
#include "TerminalProgress.h"
#include "ToolConnection.h"
#include "UUpdateDB.h"
#include "VerifyCommand.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <ibase.h>

namespace {

using namespace cli;

int usage()
{
    err() << "Aufruf:\n"
             "  velmora-db create PFAD                   neue Datenbank mit Demodaten anlegen\n"
             "  velmora-db upgrade PFAD [--quiet]        Datenbank auf den aktuellen Stand bringen\n"
             "  velmora-db check PFAD                    Datenbank prüfen und Zeilen zählen\n"
             "  velmora-db backup PFAD ORDNER            Sicherungskopie mit Datum im Namen anlegen\n"
             "  velmora-db restore SICHERUNG ZIEL [--force]\n"
             "                                           Sicherung zurückspielen (--force ersetzt ZIEL,\n"
             "                                           die alte Datei bleibt als ZIEL.bak,\n"
             "                                           oder ZIEL.bak.1 usw., wenn es die schon gibt)\n"
             "  velmora-db grant PFAD BENUTZER           einem Serverbenutzer alle Rechte für die Arbeit geben\n"
             "  velmora-db dbname                        Pfad der Datenbank aus den Einstellungen ausgeben\n"
             "  --quiet                                  bei upgrade, verify und import keinen Fortschritt\n"
             "                                           auf stderr zeigen\n"
             "  Auf dem Server (rechner:/pfad/datei.fdb oder rechner/port:/pfad/datei.fdb):\n"
             "    --user NAME                            Benutzer (sonst SYSDBA); Kennwort aus ISC_PASSWORD\n"
             "                                           oder im Terminal erfragt\n"
             "  velmora-db report PFAD ...               Bericht als PDF schreiben (velmora-db report ohne Angaben zeigt wie)\n"
             "  velmora-db due PFAD ...                  Fälligkeiten als PDF oder CSV (velmora-db due ohne Angaben zeigt wie)\n"
             "  velmora-db labels PFAD ...               Prüfetiketten als PDF schreiben (velmora-db labels ohne Angaben zeigt wie)\n"
             "  velmora-db verify PFAD [--anchor DATEI] [--quiet]\n"
             "                                           Fingerabdrücke aller Prüfungen nachrechnen, mit\n"
             "                                           --anchor auch gegen einen Anker\n"
             "  velmora-db anchor PFAD [--out DATEI] [--quiet]\n"
             "                                           Anker der Fingerabdrücke (neuester Eintrag) ausgeben,\n"
             "                                           mit --out in DATEI und zum Ausdrucken in DATEI mit\n"
             "                                           der Endung .pdf\n"
             "  velmora-db verify-pdf PFAD DATEI.pdf     Protokoll (PDF) mit der Datenbank vergleichen\n"
             "  velmora-db import PFAD DATEI --profile NAME [--dry-run] [--quiet]\n"
             "                                           Messwerte aus dem Export eines Prüfgeräts übernehmen\n"
          << Qt::flush;
    return Usage;
}

QString notOurs(const QString &path) { return foreignDatabaseText(path); }


// Copies of files are made on the machine that holds them.
int refuseOnServer(const QString &path)
{
    return refuse(QStringLiteral("%1 liegt auf einem Server: Dateien kopiert und sichert dort der Server selbst "
                                 "(gbak), oder velmora-db auf dem Server mit dem Dateipfad.")
                      .arg(path));
}

using Connection = TToolConnection;

int create(const QString &path)
{
    if (onServer(path))
        return refuse(QStringLiteral("Eine neue Datenbank entsteht als Datei (velmora-db create PFAD) und wird dann in den "
                                     "Datenordner des Servers kopiert."));
    if (QFileInfo::exists(path))
        return refuse(QStringLiteral("Datenbank existiert bereits"));
    Connection c(path);
    try {
        createVelmoraDatabase(c.db, path);
    } catch (const EDatabaseError &e) {
        return refuse(QStringLiteral("Fehler beim Erzeugen der Datenbank\n") + e.message());
    }
    out() << "Neue Datenbank erzeugt: " << path << Qt::endl;
    return Ok;
}

// Opens a database of this program and changes it; failures are refused
// with their own text.
int changeOurDatabase(const QString &path, const std::function<void(TDatabase &)> &change, const QString &done)
{
    Connection c(path);
    if (const int failed = c.openOrRefuse(); failed != Ok)
        return failed;
    try {
        // Another program's file is never altered.
        if (!isVelmoraDatabase(c.db))
            return refuse(notOurs(path));
        change(c.db);
        c.transaction.commit();
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
    out() << done << Qt::endl;
    return Ok;
}

int upgrade(const QString &path)
{
    return changeOurDatabase(
        path, [](TDatabase &db) { TUpdateDB(&db).CheckAndUpdate(upgradeProgress(terminalProgress())); },
        QStringLiteral("Datenbank ist auf dem aktuellen Stand: ") + path);
}

int check(const QString &path)
{
    Connection c(path);
    if (const int failed = c.openOrRefuse(); failed != Ok)
        return failed;
    try {
        if (!isVelmoraDatabase(c.db))
            return refuse(notOurs(path));
        out() << "Velmora-Datenbank: " << path << "\n";
        // Counting reads every data page of every table, the fingerprints',
        // versions' and imports' too.
        TQuery q(&c.db);
        for (const QString &table : userTables(c.db)) {
            q.setSql(QStringLiteral("SELECT COUNT(*) FROM ") + table);
            q.execQuery();
            out() << QStringLiteral("  %1 %2\n").arg(table, -26).arg(q.asInteger(0));
            q.close();
        }
        out() << QStringLiteral("Indexstatistik neu berechnet: %1 Indizes\n").arg(recomputeIndexStatistics(c.db));
        c.transaction.commit();
        out() << Qt::flush;
    } catch (const EDatabaseError &e) {
        out() << Qt::flush;
        return refuse(damagedDatabaseText(path) + u'\n' + e.message());
    }
    return Ok;
}

// A database a program has open is neither copied nor replaced. Asked
// through the engine's lock, which needs only read access and leaves the
// file as it is.
QString heldText(const QString &path)
{
    return isLockedByAnEngine(path) ? kDatabaseInUse : QString();
}

int backup(const QString &path, const QString &folder)
{
    if (onServer(path))
        return refuseOnServer(path);
    if (!QFileInfo::exists(path))
        return refuseMissing(path);
    if (!QFileInfo(folder).isDir())
        return refuse(QStringLiteral("Den Ordner %1 gibt es nicht.").arg(folder));
    if (const QString held = heldText(path); !held.isEmpty())
        return refuse(QStringLiteral("Die Datenbank kann nicht gesichert werden:\n") + held);
    removeStaleBackupParts(folder, path, QDateTime::currentDateTime());
    const QString target = QDir(folder).filePath(backupFileName(QDateTime::currentDateTime(), path));
    if (QFileInfo::exists(target))
        return refuse(QStringLiteral("Die Sicherung %1 existiert bereits.").arg(target));
    const TFileCopyResult copy = copyFileCompletely(path, target);
    if (!copy.ok())
        return refuse(copy.failure);
    out() << "Sicherung angelegt: " << target << Qt::endl;
    return Ok;
}

// The backup itself is only read, so it may lie on a read-only medium and
// keeps its checksum: what is checked is the copy beside the target, which
// then takes the target's name in one rename.
int restore(const QString &backupPath, const QString &target, bool force)
{
    if (onServer(backupPath))
        return refuseOnServer(backupPath);
    if (onServer(target))
        return refuseOnServer(target);
    if (!QFileInfo::exists(backupPath))
        return refuseMissing(backupPath);
    // An earlier restore's kept file is never overwritten.
    const QString kept = freeKeptName(target);
    if (QFileInfo::exists(target)) {
        if (!force)
            return refuse(QStringLiteral("Die Datei %1 gibt es bereits. Mit --force wird sie ersetzt; "
                                         "die alte Datei bleibt dann als %2.")
                              .arg(target, kept));
        // A damaged target is what a restore is for; one in use is not replaced.
        if (const QString held = heldText(target); !held.isEmpty())
            return refuse(QStringLiteral("Die Datenbank kann nicht ersetzt werden:\n") + held);
    }
    const QString staged = target + QStringLiteral(".neu");
    const TFileCopyResult copy = copyFileCompletely(backupPath, staged);
    if (!copy.ok())
        return refuse(copy.failure);
    const FileIdentity identity = identifyDatabaseFile(staged);
    if (identity != FileIdentity::Ours) {
        const QString why = identity == FileIdentity::Foreign
            ? notOurs(backupPath)
            : QStringLiteral("Die Sicherung kann nicht gelesen werden:\n") + damagedDatabaseText(backupPath);
        QFile::remove(staged);
        return refuse(why);
    }
    if (const QString failure = replaceFile(staged, target, kept); !failure.isEmpty()) {
        QFile::remove(staged);
        return refuse(failure);
    }
    out() << "Sicherung zurückgespielt: " << target;
    if (QFileInfo::exists(kept) && force)
        out() << " (die alte Datei ist " << kept << ")";
    out() << Qt::endl;
    return Ok;
}

int grant(const QString &path, const QString &user)
{
    return changeOurDatabase(
        path, [&](TDatabase &db) { grantWorkstationUser(db, user); },
        QStringLiteral("%1 darf mit %2 arbeiten.").arg(user, path));
}

} // namespace

int main(int argc, char *argv[])
{
    // Every command's first argument is a file ("" from an empty variable
    // in a script); the engine would answer in English.
    if (argc > 2 && QByteArray(argv[2]).trimmed().isEmpty()) {
        std::fputs("Es ist keine Datenbankdatei angegeben.\n", stderr);
        return cli::Usage;
    }
    endCommandsOnSignals();
    if (argc > 1 && qstrcmp(argv[1], "report") == 0)
        return runReportCommand(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "due") == 0)
        return runDueCommand(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "labels") == 0)
        return runLabelCommand(argc, argv);
    if (argc > 1 && (qstrcmp(argv[1], "verify") == 0 || qstrcmp(argv[1], "verify-pdf") == 0))
        return runVerifyCommand(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "anchor") == 0)
        return runAnchorCommand(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "import") == 0)
        return runImportCommand(argc, argv);
    QCoreApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    applyProgramLocale(); // the progress's numbers as the program shows them
    QStringList args = app.arguments().mid(1);
    takeQuietOption(args);
    bool malformed = false;
    setServerUser(takeUserOption(args, malformed));
    if (malformed)
        return usage();
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    const QString command = args.value(0);
    if (force && command != u"restore")
        return usage();
    if (args.size() == 2 && command == u"create")
        return create(args[1]);
    if (args.size() == 2 && command == u"upgrade")
        return upgrade(args[1]);
    if (args.size() == 2 && command == u"check")
        return check(args[1]);
    if (args.size() == 3 && command == u"backup")
        return backup(args[1], args[2]);
    if (args.size() == 3 && command == u"restore")
        return restore(args[1], args[2], force);
    if (args.size() == 3 && command == u"grant")
        return grant(args[1], args[2]);
    if (args.size() == 1 && command == u"dbname") {
        out() << TSettings().DBName() << Qt::endl;
        return Ok;
    }
    return usage();
}

// velmora-db: the administrators' companion of the program. Creates,
// upgrades, checks and backs up database files with the program's own code.
#include "Database.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "NewDatabase.h"
#include "Query.h"
#include "ReportCommand.h"
#include "USettings.h"
#include "UUpdateDB.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

enum Exit { Ok = 0, Refused = 1, Usage = 2 };

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "Aufruf:\n"
             "  velmora-db create PFAD        neue Datenbank mit Demodaten anlegen\n"
             "  velmora-db upgrade PFAD       Datenbank auf den aktuellen Stand bringen\n"
             "  velmora-db check PFAD         Datenbank prüfen und Zeilen zählen\n"
             "  velmora-db backup PFAD ORDNER Sicherungskopie mit Datum im Namen anlegen\n"
             "  velmora-db dbname             Pfad der Datenbank aus den Einstellungen ausgeben\n"
             "  velmora-db report PFAD ...    Bericht als PDF schreiben (velmora-db report ohne Angaben zeigt wie)\n"
          << Qt::flush;
    return Usage;
}

int refuse(const QString &message)
{
    err() << message << Qt::endl;
    return Refused;
}

struct Connection {
    TDatabase db;
    TTransaction transaction{&db};
    explicit Connection(const QString &path)
    {
        db.params = connectionParams();
        db.setDatabaseName(path);
    }
};

int create(const QString &path)
{
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

int upgrade(const QString &path)
{
    Connection c(path);
    try {
        c.db.open();
        TUpdateDB(&c.db).CheckAndUpdate();
        c.transaction.commit();
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
    out() << "Datenbank ist auf dem aktuellen Stand: " << path << Qt::endl;
    return Ok;
}

int check(const QString &path)
{
    static const QStringList tables = {"AUFTRAGNEHMER", "KUNDEN",     "PRUEFLINGE",    "PRUEFGERAETE", "PRUEFER",
                                       "PRUEFUNGEN",    "GRENZWERTE", "SCHUTZKLASSEN", "SETTINGS"};
    if (!QFileInfo::exists(path))
        return refuse(QStringLiteral("Die Datei %1 gibt es nicht.").arg(path));
    Connection c(path);
    try {
        c.db.open();
        bool marker = false;
        try {
            marker = hasSettingsRow(c.db, 2, QStringLiteral("2"));
        } catch (const EDatabaseError &) {
            marker = false; // no SETTINGS table: not one of ours
        }
        if (!marker)
            return refuse(QStringLiteral("Falsche Datenbank: %1 ist keine Datenbank von Velmora Prüfprotokolle.").arg(path));
        out() << "Velmora-Datenbank: " << path << "\n";
        TQuery q(&c.db);
        for (const QString &table : tables) {
            q.setSql(QStringLiteral("SELECT COUNT(*) FROM ") + table);
            q.execQuery();
            out() << QStringLiteral("  %1 %2\n").arg(table, -14).arg(q.asInteger(0));
            q.close();
        }
        out() << Qt::flush;
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
    return Ok;
}

int backup(const QString &path, const QString &folder)
{
    if (!QFileInfo::exists(path))
        return refuse(QStringLiteral("Die Datei %1 gibt es nicht.").arg(path));
    if (!QFileInfo(folder).isDir())
        return refuse(QStringLiteral("Der Ordner %1 gibt es nicht.").arg(folder));
    {
        // Only a file that no program holds open is copied.
        Connection c(path);
        try {
            c.db.open();
            c.db.close();
        } catch (const EDatabaseError &e) {
            return refuse(QStringLiteral("Die Datenbank kann nicht gesichert werden:\n") + e.message());
        }
    }
    const QString target = QDir(folder).filePath(backupFileName(QDateTime::currentDateTime(), path));
    if (QFileInfo::exists(target))
        return refuse(QStringLiteral("Die Sicherung %1 existiert bereits.").arg(target));
    const QString failure = copyFileCompletely(path, target);
    if (!failure.isEmpty())
        return refuse(failure);
    out() << "Sicherung angelegt: " << target << Qt::endl;
    return Ok;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "report") == 0)
        return runReportCommand(argc, argv);
    QCoreApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == u"create")
        return create(args[1]);
    if (args.size() == 2 && args[0] == u"upgrade")
        return upgrade(args[1]);
    if (args.size() == 2 && args[0] == u"check")
        return check(args[1]);
    if (args.size() == 3 && args[0] == u"backup")
        return backup(args[1], args[2]);
    if (args.size() == 1 && args[0] == u"dbname") {
        out() << TSettings().DBName() << Qt::endl;
        return Ok;
    }
    return usage();
}

#include "DatabaseFiles.h"
#include "FileScalar.h"
#include "NewDatabase.h"
#include "StoredInspections.h"
#include "TestDatabase.h"
#include "ToolRun.h"
#include <QProcess>
#include <QtTest>
#include <unistd.h>

namespace {
// The tool as another user, with a lock folder of that user's own.
TToolRun velmoraDbAs(const QString &user, const QStringList &args)
{
    return runTool(QStringLiteral("setpriv"), QStringList{"--reuid=" + user, "--regid=nogroup", "--clear-groups", "env",
                                                      "-u", "XDG_RUNTIME_DIR", "-u", "FIREBIRD_LOCK",
                                                      QStringLiteral(VELMORA_DB_TOOL)} +
                                              args);
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

// Whether the engine holds statistics for the key of the inspections.
bool inspectionKeyHasStatistics(const QString &path)
{
    return fileScalar(path, QStringLiteral("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$RELATION_NAME = 'PRUEFUNGEN' "
                                           "AND RDB$INDEX_NAME STARTING WITH 'RDB$PRIMARY' AND RDB$STATISTICS > 0")) == 1;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

// The administrators' tool, run as a separate program on real files.
class TestVelmoraDb : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void createCheckUpgradeBackup_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain folder") << "daten";
        QTest::newRow("umlaut and space") << "Prüf ordner";
    }
    void createCheckUpgradeBackup()
    {
        QFETCH(QString, folder);
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkdir(folder));
        const QDir dir(top.filePath(folder));
        const QString path = dir.filePath("NEU.FDB");
        TToolRun r = velmoraDb({"create", path});
        QCOMPARE(r.exitCode, 0);
        r = velmoraDb({"create", path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Datenbank existiert bereits"), qPrintable(r.err));

        r = velmoraDb({"upgrade", path});
        QCOMPARE(r.exitCode, 0);
        r = velmoraDb({"check", path});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QRegularExpression("PRUEFUNGEN\\s+2")), qPrintable(r.out));
        QVERIFY(r.out.contains(QRegularExpression("KUNDEN\\s+1")));
        // Every table of the program is read, the evidence and the imports' too.
        for (const char *table : {"FINGERABDRUECKE", "PRUEFUNGEN_VERSIONEN", "PRUEFUNGEN_ABGESCHLOSSEN", "SCHEMAVERSION"})
            QVERIFY2(r.out.contains(QRegularExpression(QStringLiteral("\\b%1\\s+\\d+").arg(table))), qPrintable(r.out));

        QVERIFY(dir.mkdir("sicherung"));
        r = velmoraDb({"backup", path, dir.filePath("sicherung")});
        QCOMPARE(r.exitCode, 0);
        const QStringList copies = QDir(dir.filePath("sicherung")).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QVERIFY2(QRegularExpression("^\\d{8}_\\d{4}_NEU\\.FDB$").match(copies.first()).hasMatch(), qPrintable(copies.first()));
        QCOMPARE(QFileInfo(dir.filePath("sicherung/" + copies.first())).size(), QFileInfo(path).size());
        r = velmoraDb({"check", dir.filePath("sicherung/" + copies.first())});
        QCOMPARE(r.exitCode, 0); // the copy is a whole database
    }

    // A file from before fingerprints with many inspections: the upgrade
    // tells on stderr how far it is (into a pipe: the first and the last
    // report as full lines), and nothing with --quiet.
    void upgradeShowsProgressUnlessQuiet_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("expectedErr");
        QTest::newRow("progress") << QStringList{}
                                  << "Datenbank wird aktualisiert: 1.000 von 2.502 Prüfungen\n"
                                     "Datenbank wird aktualisiert: 2.502 von 2.502 Prüfungen\n";
        QTest::newRow("quiet") << QStringList{"--quiet"} << "";
    }
    void upgradeShowsProgressUnlessQuiet()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, expectedErr);
        QTemporaryDir dir;
        const QString path = dir.filePath("ALT.FDB");
        {
            TDatabase db;
            TTransaction t(&db);
            db.params = connectionParams();
            createVelmoraDatabase(db, path);
            addStoredInspections(db, 2500);
            t.commit();
        }
        QCOMPARE(fileScalar(path, "SELECT COUNT(*) FROM PRUEFUNGEN"), qint64(2502));
        const TToolRun r = velmoraDb(QStringList{"upgrade", path} + options);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.err, expectedErr);
        QCOMPARE(r.out, "Datenbank ist auf dem aktuellen Stand: " + path + "\n");
    }

    // A new file's indexes were made on empty tables; "check" gives the
    // engine statistics to judge them by.
    void checkRecomputesIndexStatistics()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("NEU.FDB");
        QCOMPARE(velmoraDb({"create", path}).exitCode, 0);
        QVERIFY(!inspectionKeyHasStatistics(path));
        const TToolRun r = velmoraDb({"check", path});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QRegularExpression("Indexstatistik neu berechnet: \\d+ Indizes")), qPrintable(r.out));
        QVERIFY(inspectionKeyHasStatistics(path));
    }

    void checkRefusesForeignFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("not a database") << "junk";
        QTest::newRow("another Firebird database") << "foreign";
    }
    void checkRefusesForeignFiles()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath("X.FDB");
        if (kind == "junk") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(20000, 'x'));
        } else if (kind == "foreign") {
            TTestDatabase other; // a Firebird file without our tables
            path = other.path;
            other.database.close();
            const TToolRun r = velmoraDb({"check", path});
            QCOMPARE(r.exitCode, 1);
            return;
        }
        const TToolRun r = velmoraDb({"check", path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(!r.err.isEmpty());
    }

    // An empty path, as an unset variable in a script gives, is named in
    // German before the engine sees it.
    void emptyPathIsRefused_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *command : {"create", "upgrade", "check", "report", "labels", "due", "verify", "import"})
            QTest::newRow(command) << command;
    }
    void emptyPathIsRefused()
    {
        QFETCH(QString, command);
        const TToolRun r = velmoraDb({command, ""});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains("Es ist keine Datenbankdatei angegeben."), qPrintable(r.err));
        QVERIFY2(!r.err.contains("Empty filename"), qPrintable(r.err));
    }

    void usage()
    {
        const TToolRun r = velmoraDb({"zaubern"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("Aufruf"));
    }

    void backupName()
    {
        QCOMPARE(backupFileName(QDateTime(QDate(2024, 1, 31), QTime(9, 5)), "/daten/VELMORA.FDB"),
                 QStringLiteral("20240131_0905_VELMORA.FDB"));
    }

    // A killed backup's part file is removed by the next backup of the same
    // database; a fresh one (a backup still running) and another
    // database's stay.
    void backupRemovesStaleParts()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath("VELMORA.FDB"), folder = dir.filePath("Sicherungen");
        QCOMPARE(velmoraDb({"create", db}).exitCode, 0);
        QVERIFY(QDir().mkpath(folder));
        const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
        const QStringList parts{"20261201_0800_VELMORA.FDB.part", "20261210_0900_VELMORA.FDB.part", "20261201_0800_ANDERE.FDB.part"};
        for (const QString &name : parts) {
            QFile f(folder + u'/' + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("halb");
            f.flush();
            if (name != parts[1])
                QVERIFY(f.setFileTime(hourAgo, QFileDevice::FileModificationTime));
        }
        QCOMPARE(velmoraDb({"backup", db, folder}).exitCode, 0);
        const QStringList left = QDir(folder).entryList({"*.part"}, QDir::Files, QDir::Name);
        QCOMPARE(left, (QStringList{"20261201_0800_ANDERE.FDB.part", "20261210_0900_VELMORA.FDB.part"}));
    }

    void interruptedCopyLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("quelle.fdb");
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3 << 20, 'a'));
        f.close();
        const QString target = dir.filePath("ziel.fdb");
        const TFileCopyResult failure = copyFileCompletely(source, target, [](qint64 done, qint64) { return done < (2 << 20); });
        QVERIFY(failure.cancelled);
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".part"));
        QCOMPARE(copyFileCompletely(source, target).failure, QString());
        QCOMPARE(QFileInfo(target).size(), qint64(3 << 20));
    }

    void copyIsPrivateUntilCompleteAndKeepsPermissions()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("quelle.fdb"), target = dir.filePath("ziel.fdb");
        writeFile(source, QByteArray(100000, 'q'));
        QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner));
        // A stale part of an earlier copy, even one nobody may write, is replaced.
        writeFile(target + ".part", "alt");
        QVERIFY(QFile::setPermissions(target + ".part", QFile::ReadOther | QFile::ReadOwner));
        QCOMPARE(copyFileCompletely(source, target).failure, QString());
        QCOMPARE(QFileInfo(target).size(), qint64(100000));
        QCOMPARE(QFile::permissions(target), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(!QFile::exists(target + ".part"));
    }

    void upgradeLeavesForeignFileAlone()
    {
        TTestDatabase other;
        other.exec("CREATE TABLE GRENZWERTE (ID INTEGER, WERT DECIMAL(18,4))");
        other.database.close();
        const TToolRun r = velmoraDb({"upgrade", other.path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("Falsche Datenbank..."), qPrintable(r.err));
        other.database.open();
        QCOMPARE(other.scalar("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'GRENZWERTE'"), qint64(2));
    }

    void checkReportsDamage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("KAPUTT.FDB");
        QCOMPARE(velmoraDb({"create", path}).exitCode, 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 size = f.size();
        f.seek(3 * 8192); // past the header and page inventory: the data pages
        f.write(QByteArray(size - 4 * 8192, '\x5a'));
        f.close();
        const TToolRun r = velmoraDb({"check", path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(!r.err.contains("Falsche Datenbank"), qPrintable(r.err));
        QVERIFY2(r.err.contains("beschädigt"), qPrintable(r.err));
    }

    void openFailureNamesTheCause()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ReadOther));
        const QString path = dir.filePath("NUR_LESEN.FDB");
        QCOMPARE(velmoraDb({"create", path}).exitCode, 0);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther | QFile::ReadGroup));
        TToolRun r = velmoraDb({"check", dir.filePath("FEHLT.FDB")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("Die Datei " + dir.filePath("FEHLT.FDB") + " gibt es nicht."), qPrintable(r.err));
        if (::getuid() == 0) // root may write anything: try as an ordinary user
            r = velmoraDbAs("nobody", {"check", path});
        else
            r = velmoraDb({"check", path});
        if (r.exitCode == 127)
            QSKIP("no ordinary user to run as");
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("Keine Schreibberechtigung für " + path + "."), qPrintable(r.err));
    }

    void restore_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::addColumn<bool>("force");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("new target") << false << false << 0;
        QTest::newRow("existing target refused") << true << false << 1;
        QTest::newRow("existing target forced") << true << true << 0;
    }
    void restore()
    {
        QFETCH(bool, targetExists);
        QFETCH(bool, force);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QString backup = dir.filePath("20240131_0905_VELMORA.FDB"), target = dir.filePath("Prüf ordner/VELMORA.FDB");
        QVERIFY(QDir(dir.path()).mkdir("Prüf ordner"));
        QCOMPARE(velmoraDb({"create", backup}).exitCode, 0);
        if (targetExists)
            writeFile(target, "die alte Datei");
        QStringList args{"restore", backup, target};
        if (force)
            args << "--force";
        const TToolRun r = velmoraDb(args);
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY2(r.err.contains("--force"), qPrintable(r.err));
            QCOMPARE(readFile(target), QByteArray("die alte Datei"));
            return;
        }
        QCOMPARE(velmoraDb({"check", target}).exitCode, 0);
        QCOMPARE(readFile(target + ".bak"), targetExists ? QByteArray("die alte Datei") : QByteArray());
        QVERIFY(!QFile::exists(target + ".part"));
    }

    void restoreRefusesForeignBackup()
    {
        TTestDatabase other;
        other.database.close();
        QTemporaryDir dir;
        const TToolRun r = velmoraDb({"restore", other.path, dir.filePath("ZIEL.FDB")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("Falsche Datenbank..."), qPrintable(r.err));
        QVERIFY(!QFile::exists(dir.filePath("ZIEL.FDB")));
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDb)
#include "tst_velmoradb.moc"

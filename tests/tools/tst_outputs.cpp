// What velmora-db writes under faults: an output is complete under its name
// or absent with the earlier file intact, never written over the database,
// and a failure says why and exits 1.
#include "HeldDatabase.h"
#include "SmallDisk.h"
#include "TestDatabase.h"
#include "ToolRun.h"
#include <QCryptographicHash>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The commands that write a PDF, each with the arguments before "--out".
void addPdfCommands()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("report") << QStringList{"report", "DB", "--protocol", "10002"};
    QTest::newRow("labels") << QStringList{"labels", "DB", "--day", "101", "2014-07-10", "--stock", "a4-3x8"};
    QTest::newRow("due") << QStringList{"due", "DB"};
}

QStringList withDatabase(QStringList args, const QString &db)
{
    args.replace(1, db);
    return args;
}

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Runs velmora-db and kills it at its first call of one of the system
// calls on path; whether it died that way.
bool killedAt(const QString &syscalls, const QString &path, const QStringList &args)
{
    QProcess p;
    p.start("strace", QStringList{"-f", "-qq", "-o", "/dev/null", "-P", path, "-e", "trace=" + syscalls, "-e",
                                  "inject=" + syscalls + ":signal=SIGKILL", VELMORA_DB_TOOL} +
                          args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::CrashExit;
}

} // namespace

class TestOutputs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_db;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        QDir(m_dir.path()).mkdir("Prüf ordner");
        m_db = m_dir.filePath("Prüf ordner/DEMO.FDB");
        QCOMPARE(velmoraDb({"create", m_db}).exitCode, 0);
    }

    // The same file under another spelling, a link or a second name.
    void outputNamingTheDatabaseIsRefused_data()
    {
        addPdfCommands();
    }
    void outputNamingTheDatabaseIsRefused()
    {
        QFETCH(QStringList, args);
        const QString link = m_dir.filePath("verweis.fdb"), second = m_dir.filePath("zweiter Name.fdb");
        QFile::remove(link);
        QFile::remove(second);
        QVERIFY(QFile::link(m_db, link));
        QCOMPARE(::link(QFile::encodeName(m_db).constData(), QFile::encodeName(second).constData()), 0);
        const QString relative = QDir::current().relativeFilePath(m_db);
        for (const QString &out : {m_db, relative, link, second}) {
            const TToolRun r = velmoraDb(withDatabase(args, m_db) + QStringList{"--out", out});
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.contains("geöffnete Datenbank"), qPrintable(out + ": " + r.err));
            QVERIFY2(!r.out.contains("geschrieben"), qPrintable(r.out));
            QVERIFY(QFileInfo(link).isSymLink());
            QCOMPARE(velmoraDb({"check", m_db}).exitCode, 0);
        }
        QFile::remove(second);
        QFile::remove(link);
    }

    void fullDiskKeepsTheEarlierFile_data() { addPdfCommands(); }
    void fullDiskKeepsTheEarlierFile()
    {
        QFETCH(QStringList, args);
        TSmallDisk disk;
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here");
        const QString pdf = disk.path + "/Bericht.pdf";
        writeFile(pdf, "die frühere Ausgabe");
        disk.fill();
        const TToolRun r = velmoraDb(withDatabase(args, m_db) + QStringList{"--out", pdf});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("nicht genug Platz"), qPrintable(r.err));
        QCOMPARE(readFile(pdf), QByteArray("die frühere Ausgabe"));
        QVERIFY(!QFile::exists(pdf + ".part"));
    }

    // Killed after the whole PDF is written but before it takes its name.
    void killedWriteKeepsTheEarlierFile()
    {
        if (QStandardPaths::findExecutable("strace").isEmpty())
            QSKIP("strace is missing");
        const QString pdf = m_dir.filePath("Prüf ordner/Bericht.pdf");
        writeFile(pdf, "die frühere Ausgabe");
        QVERIFY(killedAt("fsync", pdf + ".part", {"report", m_db, "--protocol", "10002", "--out", pdf}));
        QVERIFY(readFile(pdf + ".part").startsWith("%PDF")); // it died with the whole PDF written
        QCOMPARE(readFile(pdf), QByteArray("die frühere Ausgabe"));
        const TToolRun again = velmoraDb({"report", m_db, "--protocol", "10002", "--out", pdf});
        QCOMPARE(again.exitCode, 0);
        QVERIFY(readFile(pdf).startsWith("%PDF"));
        QVERIFY(!QFile::exists(pdf + ".part"));
    }

    // Ctrl+C or SIGTERM, between engine calls (the PDF's flush) or inside
    // one (reading the database): "Abgebrochen.", 128 + the signal, no
    // part file, the earlier file and the database whole.
    void signalsEndACommandCleanly_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("syscall");
        QTest::addColumn<bool>("onOutput");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("Ctrl+C while the PDF is flushed") << "SIGINT" << "fsync" << true << 130;
        QTest::newRow("SIGTERM while the PDF is flushed") << "SIGTERM" << "fsync" << true << 143;
        QTest::newRow("Ctrl+C inside the engine") << "SIGINT" << "pread64" << false << 130;
        QTest::newRow("SIGTERM inside the engine") << "SIGTERM" << "pread64" << false << 143;
    }
    void signalsEndACommandCleanly()
    {
        QFETCH(QString, signal);
        QFETCH(QString, syscall);
        QFETCH(bool, onOutput);
        QFETCH(int, exitCode);
        if (QStandardPaths::findExecutable("strace").isEmpty())
            QSKIP("strace is missing");
        const QString pdf = m_dir.filePath("Prüf ordner/Bericht.pdf");
        writeFile(pdf, "die frühere Ausgabe");
        QProcess p;
        p.start("strace", {"-f", "-qq", "-o", "/dev/null", "-P", onOutput ? pdf + ".part" : m_db, "-e", "trace=" + syscall, "-e",
                           QStringLiteral("inject=%1:signal=%2:when=%3").arg(syscall, signal, onOutput ? "1" : "20"),
                           VELMORA_DB_TOOL, "report", m_db, "--protocol", "10002", "--out", pdf});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2(err.trimmed().endsWith("Abgebrochen.") && !err.contains("shutdown"), qPrintable(err));
        QCOMPARE(readFile(pdf), QByteArray("die frühere Ausgabe"));
        QVERIFY(!QFile::exists(pdf + ".part"));
        QCOMPARE(velmoraDb({"check", m_db}).exitCode, 0);
    }

    void dueListToAFullStreamFails()
    {
        QProcess p;
        p.setStandardOutputFile("/dev/full");
        p.start(VELMORA_DB_TOOL, {"due", m_db, "--csv", "--within", "100000"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains("nicht vollständig") && err.contains("nicht genug Platz"), qPrintable(err));
    }

    // Each restore keeps what it replaced, under a name of its own.
    void restoreTwiceKeepsBothEarlierFiles()
    {
        QTemporaryDir dir;
        const QString backup = dir.filePath("Sicherung.FDB"), target = dir.filePath("Ziel ä.FDB");
        QCOMPARE(velmoraDb({"create", backup}).exitCode, 0);
        writeFile(target, "das Original");
        QCOMPARE(velmoraDb({"restore", backup, target, "--force"}).exitCode, 0);
        const TToolRun second = velmoraDb({"restore", backup, target, "--force"});
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(second.out.contains(target + ".bak.1"), qPrintable(second.out));
        QCOMPARE(readFile(target + ".bak"), QByteArray("das Original"));
        QCOMPARE(velmoraDb({"check", target + ".bak.1"}).exitCode, 0);
        QCOMPARE(velmoraDb({"check", target}).exitCode, 0);
    }

    // A backup on a read-only medium is only read: it is restored, a copy
    // of it is made, and its checksum stays.
    void backupsAreOnlyRead_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("restore") << "restore";
        QTest::newRow("backup") << "backup";
    }
    void backupsAreOnlyRead()
    {
        QFETCH(QString, command);
        TSmallDisk medium(QStringLiteral("64m"));
        if (!medium.mounted())
            QSKIP("a tmpfs cannot be mounted here");
        const QString onMedium = medium.path + "/20261210_1700_VELMORA.FDB";
        QCOMPARE(velmoraDb({"create", onMedium}).exitCode, 0);
        QVERIFY(medium.makeReadOnly());
        const QByteArray sum = QCryptographicHash::hash(readFile(onMedium), QCryptographicHash::Sha256);
        QTemporaryDir dir;
        const QString target = dir.filePath("Ziel ö.FDB");
        const TToolRun r = command == "restore" ? velmoraDb({"restore", onMedium, target}) : velmoraDb({"backup", onMedium, dir.path()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(QCryptographicHash::hash(readFile(onMedium), QCryptographicHash::Sha256), sum);
        if (command == "restore")
            QCOMPARE(velmoraDb({"check", target}).exitCode, 0);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).filter(".part").isEmpty());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).filter(".neu").isEmpty());
    }

    // A database another program has open is neither copied nor replaced,
    // and asking does not change it.
    void heldDatabaseIsNeitherCopiedNorReplaced()
    {
        QTemporaryDir dir;
        const QString held = dir.filePath("offen.FDB"), backup = dir.filePath("Sicherung.FDB");
        QCOMPARE(velmoraDb({"create", held}).exitCode, 0);
        QCOMPARE(velmoraDb({"create", backup}).exitCode, 0);
        QVERIFY(QDir(dir.path()).mkdir("sicherungen"));
        THeldDatabase other(held);
        QVERIFY(other.held);
        const QByteArray before = readFile(held);
        const TToolRun copied = velmoraDb({"backup", held, dir.filePath("sicherungen")});
        QCOMPARE(copied.exitCode, 1);
        QVERIFY2(copied.err.contains("Es wird bereits von einem Programm auf die Datenbank zugegriffen"), qPrintable(copied.err));
        QVERIFY(QDir(dir.filePath("sicherungen")).isEmpty());
        const TToolRun replaced = velmoraDb({"restore", backup, held, "--force"});
        QCOMPARE(replaced.exitCode, 1);
        QVERIFY2(replaced.err.contains("kann nicht ersetzt werden"), qPrintable(replaced.err));
        QCOMPARE(readFile(held), before);
    }

    // A foreign file offered as a backup leaves the target as it was and no
    // copy beside it.
    void foreignBackupLeavesTheTarget()
    {
        QTemporaryDir dir;
        const QString foreign = dir.filePath("fremd.fdb"), target = dir.filePath("Ziel.FDB");
        writeFile(foreign, QByteArray(100000, 'x'));
        writeFile(target, "das Original");
        const TToolRun r = velmoraDb({"restore", foreign, target, "--force"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Die Sicherung kann nicht gelesen werden"), qPrintable(r.err));
        QCOMPARE(readFile(target), QByteArray("das Original"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase), QStringList({"fremd.fdb", "Ziel.FDB"}));
    }

    // The target's name holds a database at every moment: killed at the
    // replacing rename, the old file is still there.
    void killedRestoreLeavesADatabase()
    {
        if (QStandardPaths::findExecutable("strace").isEmpty())
            QSKIP("strace is missing");
        QTemporaryDir dir;
        const QString backup = dir.filePath("Sicherung.FDB"), target = dir.filePath("Ziel.FDB");
        QCOMPARE(velmoraDb({"create", backup}).exitCode, 0);
        QCOMPARE(velmoraDb({"create", target}).exitCode, 0);
        const ino_t before = inodeOf(target);
        QVERIFY(killedAt("rename,renameat,renameat2", target + ".neu", {"restore", backup, target, "--force"}));
        QVERIFY(QFile::exists(target + ".neu")); // the checked copy was about to take the name
        QCOMPARE(inodeOf(target), before); // the old file, not a half new one
        QCOMPARE(velmoraDb({"check", target}).exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(TestOutputs)
#include "tst_outputs.moc"

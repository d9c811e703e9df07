#include "DatabaseFiles.h"
#include "TestDatabase.h"
#include <QProcess>
#include <QtTest>

namespace {
struct Run {
    int exitCode;
    QString out, err;
};

Run velmoraDb(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(VELMORA_DB_TOOL), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
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
        Run r = velmoraDb({"create", path});
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
            const Run r = velmoraDb({"check", path});
            QCOMPARE(r.exitCode, 1);
            return;
        }
        const Run r = velmoraDb({"check", path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(!r.err.isEmpty());
    }

    void usage()
    {
        const Run r = velmoraDb({"zaubern"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("Aufruf"));
    }

    void backupName()
    {
        QCOMPARE(backupFileName(QDateTime(QDate(2024, 1, 31), QTime(9, 5)), "/daten/VELMORA.FDB"),
                 QStringLiteral("20240131_0905_VELMORA.FDB"));
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
        const QString failure = copyFileCompletely(source, target, [](qint64 done, qint64) { return done < (2 << 20); });
        QVERIFY(!failure.isEmpty());
        QVERIFY(!QFile::exists(target));
        QVERIFY(!QFile::exists(target + ".part"));
        QCOMPARE(copyFileCompletely(source, target), QString());
        QCOMPARE(QFileInfo(target).size(), qint64(3 << 20));
    }
};

QTEST_GUILESS_MAIN(TestVelmoraDb)
#include "tst_velmoradb.moc"

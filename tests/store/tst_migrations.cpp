// The schema's numbered steps on real database files: a file goes through
// each step whole or not at all, a run stopped in the middle of a step
// (program killed, disk full) is finished at the next start, and a file of
// a newer program is left alone.
#include "Migration.h"
#include "NewFile.h"
#include "SchemaVersion.h"
#include "UUpdateDB.h"
#include <QtTest>

namespace {

struct Stop {};

// Stops the run at the first partial commit of the step with that number.
void stopInStep(int version)
{
    afterPartialCommit = [version](const Migration &m, int) {
        if (m.version == version)
            throw Stop();
    };
}

} // namespace

class TestMigrations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }
    void cleanup() { afterPartialCommit = nullptr; }

    void newFileGoesThroughEveryStep()
    {
        NewFile f;
        QCOMPARE(storedSchemaVersion(f.db), 0);
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM SCHEMAVERSION"), qint64(1));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM SCHEMAVERSION"), qint64(1)); // one row, also after a second start
    }

    // A file upgraded before there were version numbers: a step whose effect
    // is there is not run again, the missing ones are.
    void fileFromBeforeVersionsGetsOnlyMissingSteps()
    {
        NewFile f;
        f.exec("ALTER TABLE GRENZWERTE ADD WERT_I DECIMAL(18,4)");
        f.exec("UPDATE GRENZWERTE SET WERT_I = 7");
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM GRENZWERTE WHERE WERT_I = 7"), qint64(5));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'AUFTRAGNEHMER' AND "
                          "RDB$FIELD_NAME = 'KURZNAME'"),
                 qint64(1));
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
    }

    // A step stopped after it committed part of its work keeps the version
    // before it and is done whole at the next start.
    void stoppedStepIsDoneAtNextStart_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version table") << 1 << "SELECT COUNT(*) FROM SCHEMAVERSION" << "1";
        QTest::newRow("limit for class I") << 2 << "SELECT LIST(WERT_I, ' ') FROM (SELECT WERT_I FROM GRENZWERTE ORDER BY ID)"
                                           << "0.3000 2.0000 3.5000 3.5000 0.5000";
        QTest::newRow("import tables") << 7 << "SELECT COUNT(*) FROM IMPORTZEILEN" << "0";
    }
    void stoppedStepIsDoneAtNextStart()
    {
        QFETCH(int, version);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        NewFile f;
        stopInStep(version);
        QVERIFY_THROWS_EXCEPTION(Stop, TUpdateDB(&f.db).CheckAndUpdate());
        afterPartialCommit = nullptr;
        f.reopen();
        QCOMPARE(storedSchemaVersion(f.db), version - 1);
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        QCOMPARE(f.rows(check), (QList<QStringList>{{expected}}));
    }

    // A file that a newer program has upgraded is refused as such, not
    // called foreign, and stays as it is.
    void fileOfNewerProgramIsRefused()
    {
        NewFile f;
        TUpdateDB(&f.db).CheckAndUpdate();
        const int newer = latestSchemaVersion() + 1;
        f.exec(QStringLiteral("UPDATE SCHEMAVERSION SET VERSION = %1").arg(newer));
        try {
            TUpdateDB(&f.db).CheckAndUpdate();
            QFAIL("the newer file was accepted");
        } catch (const ENewerSchema &e) {
            QVERIFY2(e.message().startsWith("Die Datenbank wurde mit einer neueren Version von Velmora Prüfprotokolle "
                                            "angelegt"),
                     qPrintable(e.message()));
        }
        QCOMPARE(storedSchemaVersion(f.db), newer);
    }
};

QTEST_GUILESS_MAIN(TestMigrations)
#include "tst_migrations.moc"

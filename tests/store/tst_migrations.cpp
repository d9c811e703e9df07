// The schema's numbered steps on real database files: a file goes through
// each step whole or not at all, a run stopped in the middle of a step
// (program killed, disk full) is finished at the next start, and a file of
// a newer program is left alone.
#include "DatabaseIdentity.h"
#include "FingerprintCheck.h"
#include "Fingerprints.h"
#include "Migration.h"
#include "NewFile.h"
#include "SchemaVersion.h"
#include "StatementPlan.h"
#include "StoredInspections.h"
#include "MigrationList.h"
#include "UUpdateDB.h"
#include <QDir>
#include <QRegularExpression>
#include <QtTest>
#include <ibase.h>

namespace {

struct Stop {};

// The step that fingerprints the inspections stored before fingerprints.
constexpr int kFingerprintingStep = 6;
// The step that moves the texts of an earlier file to UTF-8.
constexpr int kUtf8Step = 10;
// The step that keeps the devices' distinct names and places.
constexpr int kDeviceTextsStep = 11;
// The step that keeps every active device's next due date.
constexpr int kDueTableStep = 12;
// The step that closes the evidence to changes.
constexpr int kEvidenceStep = 13;
// The step that gives the file its identity.
constexpr int kIdentityStep = kDatabaseIdentityStep;
// The identity entries of the chain: place, inspection column and the
// identity they name, with whether it is the readable one.
const QString kIdentityEntries = QStringLiteral(
    "SELECT f.NR, f.PRUEFUNG_ID, IIF(f.INHALT CONTAINING 'DATENBANK=' || k.KENNUNG, 'lesbar', 'anders') "
    "FROM FINGERABDRUECKE f CROSS JOIN DATENBANK_KENNUNG k WHERE f.ART = 'identitaet' ORDER BY f.NR");
// The kept next dates by device.
const QString kDueRows = QStringLiteral("SELECT LIST(PRUEFLINGE_ID || ' ' || COALESCE(NEXT_PRUEFDATUM, '-'), ', ') "
                                        "FROM (SELECT PRUEFLINGE_ID, NEXT_PRUEFDATUM FROM FAELLIGKEITEN ORDER BY 1)");

void assertChainSound(TDatabase &db, int addedLater)
{
    const TFingerprintReport report = verifyFingerprints(db);
    QVERIFY2(report.sound(), qPrintable(report.text()));
    QCOMPARE(report.addedLater, addedLater);
}

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

    // An upgrade leaves the engine statistics of the indexes of filled
    // tables (a new file's were made on empty ones), and a current file is
    // not worked on again.
    void upgradeRecomputesIndexStatistics()
    {
        NewFile f;
        const QString inspectionKey = "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$RELATION_NAME = 'PRUEFUNGEN' "
                                      "AND RDB$INDEX_NAME STARTING WITH 'RDB$PRIMARY' AND RDB$STATISTICS > 0";
        QCOMPARE(f.scalar(inspectionKey), qint64(0));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar(inspectionKey), qint64(1));
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
        QTest::newRow("device texts") << kDeviceTextsStep << "SELECT LIST(TEXT, ', ') FROM (SELECT TEXT FROM PRUEFLING_TEXTE "
                                                             "ORDER BY FELD, TEXT)"
                                      << "Drucker, Mikrowelle, Raum 10, Raum 11";
        QTest::newRow("next due dates") << kDueTableStep << kDueRows << "1001 2015-01-10, 1002 -";
        QTest::newRow("database identity")
            << kIdentityStep
            << "SELECT IIF(f.INHALT CONTAINING 'DATENBANK=' || k.KENNUNG, 'lesbar', 'anders') FROM FINGERABDRUECKE f "
               "CROSS JOIN DATENBANK_KENNUNG k WHERE f.ART = 'identitaet'"
            << "lesbar";
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

    // A file from before the table of device texts, its names and places
    // repeated or empty: the upgrade keeps each text once; from then on a
    // stored or changed device brings its new texts in, each once.
    void deviceTextsFilledFromStoredDevices()
    {
        NewFile f;
        runMigrations(f.db, migrations().mid(0, kDeviceTextsStep - 1));
        const QString device = "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) "
                               "VALUES (%1, %2, %1, %3, 12, 101)";
        f.exec(device.arg("1100", "'Drucker'", "'Küche'"));
        f.exec(device.arg("1101", "''", "NULL"));
        f.exec(device.arg("1102", "NULL", "' '"));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        const QString texts = "SELECT FELD, TEXT FROM PRUEFLING_TEXTE ORDER BY FELD, TEXT";
        QCOMPARE(f.rows(texts), (QList<QStringList>{{"BEZEICHNUNG", "Drucker"}, {"BEZEICHNUNG", "Mikrowelle"},
                                                    {"ORT", "Küche"}, {"ORT", "Raum 10"}, {"ORT", "Raum 11"}}));
        f.exec("UPDATE PRUEFLINGE SET ORT = 'Lager' WHERE ID = 1100");
        f.exec(device.arg("1103", "'Toaster'", "'Lager'"));
        f.exec(device.arg("1104", "'Toaster'", "'Lager'"));
        QCOMPARE(f.rows(texts), (QList<QStringList>{{"BEZEICHNUNG", "Drucker"}, {"BEZEICHNUNG", "Mikrowelle"},
                                                    {"BEZEICHNUNG", "Toaster"}, {"ORT", "Küche"}, {"ORT", "Lager"},
                                                    {"ORT", "Raum 10"}, {"ORT", "Raum 11"}}));
    }

    // A file from before the kept due dates: every active device gets its
    // latest inspection's next date (the latest by date, then by key), a
    // retired one none; from then on saves and deletes keep them.
    void dueTableFilledFromStoredInspections()
    {
        NewFile f;
        runMigrations(f.db, migrations().mid(0, kDueTableStep - 1));
        const QString device = "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID, AKTIV) VALUES (%1, %1, 12, 101, %2)";
        const QString inspection = "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                                   "PRUEFLINGE_ID) VALUES (%1, '%2', '%3', 11, 12, %4)";
        f.exec(device.arg("1100", "1"));
        f.exec(device.arg("1101", "0"));
        f.exec(inspection.arg("5000", "2023-04-30 10:00", "2024-03-31", "1100"));
        f.exec(inspection.arg("5001", "2023-04-30 10:00", "2024-04-30", "1100"));
        f.exec(inspection.arg("5002", "2022-04-30 10:00", "2025-01-01", "1100"));
        f.exec(inspection.arg("5003", "2023-04-30 10:00", "2024-04-30", "1101"));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        QCOMPARE(f.rows(kDueRows), (QList<QStringList>{{"1001 2015-01-10, 1002 -, 1100 2024-04-30"}}));
        f.exec("DELETE FROM PRUEFUNGEN WHERE ID = 5001");
        f.exec("UPDATE PRUEFLINGE SET AKTIV = 1 WHERE ID = 1101");
        f.exec("UPDATE PRUEFLINGE SET AKTIV = 0 WHERE ID = 1002");
        QCOMPARE(f.rows(kDueRows), (QList<QStringList>{{"1001 2015-01-10, 1100 2024-03-31, 1101 2024-04-30"}}));
    }

    // A server file whose workstations' logins got their rights before a
    // step's new table: a login that may store devices may also add and
    // read the texts its saves bring in; one that may read devices may
    // read their due dates (the triggers write those with their own rights).
    void newTablesOpenToWorkstationLogins_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QList<QStringList>>("rights");
        QTest::newRow("device texts") << kDeviceTextsStep << "PRUEFLING_TEXTE" << QList<QStringList>{{"CARLA", "IS"}};
        QTest::newRow("due dates") << kDueTableStep << "FAELLIGKEITEN" << QList<QStringList>{{"CARLA", "S"}, {"DIETER", "S"}};
        QTest::newRow("database identity") << kIdentityStep << "DATENBANK_KENNUNG"
                                           << QList<QStringList>{{"CARLA", "S"}, {"DIETER", "S"}};
    }
    void newTablesOpenToWorkstationLogins()
    {
        QFETCH(int, step);
        QFETCH(QString, table);
        QFETCH(QList<QStringList>, rights);
        NewFile f;
        runMigrations(f.db, migrations().mid(0, step - 1));
        f.exec("GRANT ALL ON PRUEFLINGE TO USER CARLA");
        f.exec("GRANT SELECT ON PRUEFLINGE TO USER DIETER");
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.rows(QStringLiteral("SELECT TRIM(RDB$USER), LIST(TRIM(RDB$PRIVILEGE), '') FROM (SELECT RDB$USER, RDB$PRIVILEGE "
                                       "FROM RDB$USER_PRIVILEGES WHERE RDB$RELATION_NAME = '%1' AND RDB$USER <> CURRENT_USER "
                                       "AND RDB$USER_TYPE = 8 ORDER BY 1, 2) GROUP BY 1")
                            .arg(table)),
                 rights);
    }

    // Logins that an earlier program gave every right on the evidence keep
    // reading it and adding to it, the chain only through its procedures;
    // their rights to change or delete it are taken back.
    void evidenceRightsOfEarlierLoginsCutDown()
    {
        NewFile f;
        runMigrations(f.db, migrations().mid(0, kEvidenceStep - 1));
        for (const char *table : {"FINGERABDRUECKE", "PRUEFUNGEN_VERSIONEN", "PRUEFUNGEN_ABGESCHLOSSEN", "PRUEFUNGEN"})
            f.exec(QStringLiteral("GRANT ALL ON %1 TO USER CARLA").arg(QLatin1StringView(table)));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        QCOMPARE(f.rows("SELECT TRIM(RDB$RELATION_NAME), LIST(TRIM(RDB$PRIVILEGE), '') FROM (SELECT RDB$RELATION_NAME, "
                        "RDB$PRIVILEGE FROM RDB$USER_PRIVILEGES WHERE RDB$USER = 'CARLA' ORDER BY 1, 2) GROUP BY 1"),
                 (QList<QStringList>{{"FINGERABDRUCK_ANHAENGEN", "X"},
                                     {"FINGERABDRUCK_KOPF_SPERREN", "X"},
                                     {"FINGERABDRUECKE", "S"},
                                     {"PRUEFUNGEN", "DIRSU"},
                                     {"PRUEFUNGEN_ABGESCHLOSSEN", "IS"},
                                     {"PRUEFUNGEN_VERSIONEN", "IS"}}));
    }

    // A firm's file from before fingerprints, its first start killed after
    // the first chunk of fingerprints: the chunk stays, the next start
    // finishes the chain after it, and the chain verifies.
    void fingerprintingStoppedAfterFirstChunkResumes()
    {
        NewFile f;
        addStoredInspections(f.db, 2500);
        f.transaction.commit();
        stopInStep(kFingerprintingStep);
        QVERIFY_THROWS_EXCEPTION(Stop, TUpdateDB(&f.db).CheckAndUpdate());
        afterPartialCommit = nullptr;
        f.reopen();
        QCOMPARE(storedSchemaVersion(f.db), kFingerprintingStep - 1);
        const qint64 firstChunk = f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE");
        QVERIFY2(firstChunk > 0 && firstChunk < 2502, qPrintable(QString::number(firstChunk)));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE"), qint64(2503)); // and the identity entry
        QCOMPARE(f.scalar("SELECT COUNT(DISTINCT PRUEFUNG_ID) FROM FINGERABDRUECKE WHERE ART <> 'identitaet'"), qint64(2502));
        assertChainSound(f.db, 2502);
    }

    // A file whose first start with fingerprints was killed by an earlier
    // program: tables made, chain empty, no version, no identity. The next
    // start fills the chain and puts the file's identity at its head.
    void emptyChainOfEarlierProgramIsFilled()
    {
        NewFile f;
        TUpdateDB(&f.db).CheckAndUpdate();
        f.exec("DELETE FROM FINGERABDRUECKE");
        f.exec("DROP TABLE DATENBANK_KENNUNG");
        f.exec("DROP TABLE SCHEMAVERSION");
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FINGERABDRUECKE"), qint64(3));
        assertChainSound(f.db, 2);
    }

    // Two files made the same way have the same history but identities of
    // their own: 32 hex digits each, named by an entry at the head of the
    // chain (after the demo inspections the new file comes with) that
    // belongs to no inspection and verifies.
    void newDatabasesHaveIdentitiesOfTheirOwn()
    {
        NewFile first;
        NewFile second;
        QStringList identities;
        for (NewFile *f : {&first, &second}) {
            TUpdateDB(&f->db).CheckAndUpdate();
            const std::optional<QString> identity = storedDatabaseIdentity(f->db);
            QVERIFY(identity);
            QVERIFY2(QRegularExpression("^[0-9a-f]{32}$").match(*identity).hasMatch(), qPrintable(*identity));
            identities << *identity;
            QCOMPARE(f->rows(kIdentityEntries), (QList<QStringList>{{"3", "0", "lesbar"}}));
            assertChainSound(f->db, 2);
            QCOMPARE(verifyFingerprints(f->db).inspections, 2);
        }
        QVERIFY(identities[0] != identities[1]);
    }

    // A file whose chain an earlier program made, with an inspection saved
    // since: the identity entry is appended at the chain's head, and the
    // chain proves the identity from there on.
    void fileWithChainGetsIdentityAtItsHead()
    {
        NewFile f;
        runMigrations(f.db, migrations().mid(0, kIdentityStep - 1));
        f.exec("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
               "VALUES (10050, '2015-01-01', '2016-01-01', 11, 12, 1002)");
        fingerprintInspection(f.db, 10050);
        f.transaction.commit();
        QVERIFY(!storedDatabaseIdentity(f.db));
        assertChainSound(f.db, 2); // before the step, no identity is asked for
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        QCOMPARE(f.rows(kIdentityEntries), (QList<QStringList>{{"4", "0", "lesbar"}}));
        assertChainSound(f.db, 2);
    }

    // Every new fingerprint reads the chain's newest entry: through the
    // descending index, without sorting the chain.
    void chainHeadIsReadThroughItsIndex()
    {
        NewFile f;
        TUpdateDB(&f.db).CheckAndUpdate();
        const QString plan = statementPlan(f.db, fingerprintChainHeadSql());
        QVERIFY2(plan.contains("FINGERABDRUECKE_NR_DESC"), qPrintable(plan));
        QVERIFY2(!plan.contains("SORT"), qPrintable(plan));
    }

    // A workstation's own login on a server may not change the schema: a
    // step it may leave to the owner is skipped, later steps still run as
    // far as their effect is missing, and no number claims the skipped step
    // done, so the owner's next start does it.
    void stepLeftToOwnerIsNotClaimedDone()
    {
        NewFile f;
        TUpdateDB(&f.db).CheckAndUpdate();
        const int current = latestSchemaVersion();
        QList<Migration> steps = migrations();
        steps << Migration{current + 1, QStringLiteral("nur Eigentümer"), [](TDatabase &) { return false; },
                           [](MigrationStep &) { throw EDatabaseError(QStringLiteral("no permission"), {isc_no_priv}); }, true}
              << Migration{current + 2, QStringLiteral("Spalte"),
                           [](TDatabase &db) { return schemaObjectExists(db, SchemaObject::Column, "NOTIZ", "PRUEFER"); },
                           [](MigrationStep &step) { step.exec("ALTER TABLE PRUEFER ADD NOTIZ VARCHAR(20)"); }};
        runMigrations(f.db, steps);
        QCOMPARE(storedSchemaVersion(f.db), current);
        QVERIFY(schemaObjectExists(f.db, SchemaObject::Column, "NOTIZ", "PRUEFER"));
        runMigrations(f.db, steps); // the column is not added twice
        QCOMPARE(storedSchemaVersion(f.db), current);
    }

    // A Latin-1 file of the versions before UTF-8, with umlauts in names and
    // remarks that the fingerprints of its inspections cover: the upgrade
    // keeps a copy beside it, keeps every text and the chain, and then takes
    // any European spelling. A run killed after the first part (copy made,
    // twins added, keys dropped) is finished at the next start.
    void latin1FileIsConvertedToUtf8_data()
    {
        QTest::addColumn<bool>("killedAfterFirstPart");
        QTest::newRow("in one run") << false;
        QTest::newRow("killed after the first part") << true;
    }
    void latin1FileIsConvertedToUtf8()
    {
        QFETCH(bool, killedAfterFirstPart);
        NewFile f(QStringLiteral("ISO8859_1"));
        f.exec("UPDATE KUNDEN SET NAME = 'Müller & Söhne', BEMERKUNG = 'Stammkunde, Söhne übernehmen'");
        f.exec("UPDATE PRUEFUNGEN SET BEMERKUNG = 'Prüfung ohne Mängel'");
        f.exec("UPDATE SCHUTZKLASSEN SET BEZEICHNUNG = 'Schutzklasse ä' WHERE KUERZEL = 'I'");
        runMigrations(f.db, migrations().mid(0, kUtf8Step - 1));
        const QString customers = "SELECT NAME, BEMERKUNG FROM KUNDEN ORDER BY ID";
        const QList<QStringList> before = f.rows(customers);
        if (killedAfterFirstPart) {
            stopInStep(kUtf8Step);
            QVERIFY_THROWS_EXCEPTION(Stop, TUpdateDB(&f.db).CheckAndUpdate());
            afterPartialCommit = nullptr;
            f.reopen();
            QCOMPARE(storedSchemaVersion(f.db), kUtf8Step - 1);
            QCOMPARE(f.rows(customers), before);
        }
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(storedSchemaVersion(f.db), latestSchemaVersion());
        const QDir folder(f.dir.path());
        QCOMPARE(folder.entryList({"*Sicherung*"}), QStringList{"VELMORA_Sicherung_vor_UTF-8.FDB"});
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM RDB$FIELDS WHERE RDB$CHARACTER_SET_ID = 21 AND RDB$FIELD_NAME IN "
                          "(SELECT RDB$FIELD_SOURCE FROM RDB$RELATION_FIELDS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0)"),
                 qint64(0));
        f.reopen();
        QCOMPARE(f.rows(customers), before);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE BEMERKUNG IS DISTINCT FROM 'Prüfung ohne Mängel'"), qint64(0));
        QCOMPARE(f.rows("SELECT PRUEFLING_BEZEICHNUNG FROM PRUEFPROTOKOLL WHERE BEMERKUNG = 'Prüfung ohne Mängel' "
                        "ROWS 1").size(), 1);
        assertChainSound(f.db, 2);
        f.exec("UPDATE KUNDEN SET NAME = 'Łukasiewicz', BEMERKUNG = 'Dvořák, Yılmaz, €' WHERE ID = (SELECT MIN(ID) FROM KUNDEN)");
        f.exec("INSERT INTO SCHUTZKLASSEN (KUERZEL, BEZEICHNUNG) VALUES ('Ł', 'Yılmaz €')");
        f.reopen();
        QCOMPARE(f.rows("SELECT FIRST 1 NAME, BEMERKUNG FROM KUNDEN ORDER BY ID"),
                 (QList<QStringList>{{"Łukasiewicz", "Dvořák, Yılmaz, €"}}));
        QCOMPARE(f.rows("SELECT BEZEICHNUNG FROM SCHUTZKLASSEN WHERE KUERZEL = 'Ł'"), (QList<QStringList>{{"Yılmaz €"}}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.exec("INSERT INTO SCHUTZKLASSEN (KUERZEL, BEZEICHNUNG) VALUES ('Ł', 'x')"));
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

#include "DbError.h"
#include "NewFile.h"
#include "UFirebird.h"
#include "UUpdateDB.h"
#include <QtTest>

class TestNewDatabase : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void holdsExactlyTheSeedRows()
    {
        NewFile f;
        QCOMPARE(f.db.params, connectionParams()); // the parameters came back
        QCOMPARE(f.rows("SELECT ID, NAME FROM AUFTRAGNEHMER"), (QList<QStringList>{{"1", "Demo-Auftragnehmer..."}}));
        QCOMPARE(f.rows("SELECT ID, NAME, AKTIV FROM KUNDEN"), (QList<QStringList>{{"101", "Demo-Kunde", "1"}}));
        QCOMPARE(f.rows("SELECT ID, NAME, BEZEICHNUNG, SERIENNUMMER FROM PRUEFGERAETE ORDER BY ID"),
                 (QList<QStringList>{{"11", "Mess 01", "Metrawatt 395", "A123456789"},
                                     {"12", "Mess 02", "Metrawatt 395", "A1234f4333"}}));
        QCOMPARE(f.rows("SELECT ID, NAME FROM PRUEFER"), (QList<QStringList>{{"11", "Demo-Prüfer"}}));
        QCOMPARE(f.rows("SELECT ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID, GRENZWERT0, VARIABEL, "
                        "AKTIV FROM PRUEFLINGE ORDER BY ID"),
                 (QList<QStringList>{{"1001", "Drucker", "85", "I", "Raum 10", "12", "101", "0.3", "0", "1"},
                                     {"1002", "Mikrowelle", "86", "I", "Raum 11", "12", "101", "0.3", "0", "1"}}));
        QCOMPARE(f.rows("SELECT ID, PRUEFLINGE_ID, PRUEFER_ID, PRUEFGERAETE_ID, SCHUTZLEITWIDERSTAND, ISOLATIONSPRUEFUNG, "
                        "ERSATZABLEITSTROM_BESTANDEN FROM PRUEFUNGEN ORDER BY ID"),
                 (QList<QStringList>{{"10001", "1001", "11", "12", "0.06", "19.99", "NULL"},
                                     {"10002", "1001", "11", "12", "0.07", "19.99", "NULL"}}));
        QCOMPARE(f.rows("SELECT ID, BEZEICHNUNG, BEZ1, WERT, BEZ2 FROM GRENZWERTE ORDER BY ID"),
                 (QList<QStringList>{{"0", "Schutzleiterwiderstand", "Max.", "0.3", "Ohm"},
                                     {"1", "Isolationsprüfung", "Min.", "2", "MOhm"},
                                     {"2", "Ersatzableitstrom", "Max.", "0.5", "mA"},
                                     {"3", "Differenzstrom", "Max.", "3.5", "mA"},
                                     {"4", "Berührungsstrom", "Max.", "0.5", "mA"}}));
        QCOMPARE(f.rows("SELECT KUERZEL, BEZEICHNUNG FROM SCHUTZKLASSEN ORDER BY KUERZEL"),
                 (QList<QStringList>{{"I", "Schutzklasse I"}, {"II", "Schutzklasse II"}, {"III", "Schutzklasse III"}}));
        QCOMPARE(f.rows("SELECT ID, BEZEICHNUNG, WERT FROM SETTINGS"), (QList<QStringList>{{"2", "Application", "2"}}));
        QCOMPARE(f.rows("SELECT PRUEFLING_ID, PRUEFUNG_ID FROM pruefprotokoll ORDER BY PRUEFUNG_ID"),
                 (QList<QStringList>{{"1001", "10001"}, {"1001", "10002"}}));
    }

    void nextKeysFollowTheSeedRows_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<qint64>("next");
        QTest::newRow("customers") << "SEQ_KUNDEN" << qint64(102);
        QTest::newRow("devices") << "SEQ_PRUEFLINGE" << qint64(1003);
        QTest::newRow("inspections") << "SEQ_PRUEFUNGEN" << qint64(10003);
        QTest::newRow("instruments") << "SEQ_PRUEFGERAETE" << qint64(13);
        QTest::newRow("inspectors") << "SEQ_PRUEFER" << qint64(12);
    }
    void nextKeysFollowTheSeedRows()
    {
        QFETCH(QString, sequence);
        QFETCH(qint64, next);
        NewFile f;
        QCOMPARE(f.scalar("SELECT GEN_ID(" + sequence + ", 1) FROM RDB$DATABASE"), next);
    }

    void schemaRules()
    {
        NewFile f;
        // Deleting a customer takes its devices and their inspections along.
        TQuery q(&f.db);
        q.setSql("DELETE FROM KUNDEN WHERE ID = 101");
        q.execQuery();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFLINGE"), qint64(0));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), qint64(0));
        // An inspection without a date gets the current time.
        q.setSql("INSERT INTO KUNDEN (ID, NAME) VALUES (5, 'K')");
        q.execQuery();
        q.setSql("INSERT INTO PRUEFLINGE (ID, PRUEFINTERVAL, KUNDEN_ID) VALUES (7, 12, 5)");
        q.execQuery();
        q.setSql("INSERT INTO PRUEFUNGEN (ID, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
                 "VALUES (1, '2030-01-01', 11, 11, 7)");
        q.execQuery();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFDATUM IS NOT NULL"), qint64(1));
    }

    void setSequenceFollowsLargestKey()
    {
        NewFile f;
        TFirebird firebird(&f.db);
        firebird.setSequence("SEQ_PRUEFER", "PRUEFER", "ID");
        QCOMPARE(f.scalar("SELECT GEN_ID(SEQ_PRUEFER, 1) FROM RDB$DATABASE"), qint64(12));
        firebird.setSequence("SEQ_KUNDEN", 500);
        QCOMPARE(f.scalar("SELECT GEN_ID(SEQ_KUNDEN, 1) FROM RDB$DATABASE"), qint64(501));
    }

    void upgradeAddsSecondLimitOnce()
    {
        NewFile f;
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'GRENZWERTE' AND "
                          "RDB$FIELD_NAME = 'WERT_I'"),
                 qint64(0));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.rows("SELECT ID, WERT_I FROM GRENZWERTE ORDER BY ID"),
                 (QList<QStringList>{{"0", "0.3"}, {"1", "2"}, {"2", "3.5"}, {"3", "3.5"}, {"4", "0.5"}}));
        // A second run finds the column and changes nothing.
        TQuery q(&f.db);
        q.setSql("UPDATE GRENZWERTE SET WERT_I = NULL");
        q.execQuery();
        f.transaction.commit();
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM GRENZWERTE WHERE WERT_I IS NULL"), qint64(5));
        QVERIFY(f.transaction.active()); // the column test leaves the transaction running
    }

    void upgradeAddsContractorColumnOnce_data()
    {
        QTest::addColumn<QString>("column");
        QTest::newRow("logo") << "LOGO";
        QTest::newRow("short name for labels") << "KURZNAME";
    }
    void upgradeAddsContractorColumnOnce()
    {
        QFETCH(QString, column);
        NewFile f; // as a file of an earlier version: no such column yet
        const QString exists = "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'AUFTRAGNEHMER' AND "
                               "RDB$FIELD_NAME = '" + column + "'";
        QCOMPARE(f.scalar(exists), qint64(0));
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar(exists), qint64(1));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM AUFTRAGNEHMER WHERE " + column + " IS NULL"), qint64(1)); // the row is kept
        TUpdateDB(&f.db).CheckAndUpdate(); // a second run changes nothing
        QCOMPARE(f.scalar(exists), qint64(1));
    }

    void upgradeWithoutRowTwo()
    {
        NewFile f;
        TQuery q(&f.db);
        q.setSql("DELETE FROM GRENZWERTE WHERE ID = 2");
        q.execQuery();
        f.transaction.commit();
        TUpdateDB(&f.db).CheckAndUpdate();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM GRENZWERTE WHERE WERT_I = WERT"), qint64(4));
    }

    void upgradeOfForeignFileFails()
    {
        TTestDatabase t; // a Firebird file without our tables
        try {
            TUpdateDB(&t.database).CheckAndUpdate();
            QFAIL("a foreign file was upgraded");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.message().contains("GRENZWERTE"), qPrintable(e.message()));
        }
    }

    void existingFileIsNotOverwritten()
    {
        NewFile f;
        const QString path = f.db.databaseName();
        f.db.close();
        TDatabase other;
        other.params = connectionParams();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, createVelmoraDatabase(other, path));
        f.db.open();
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM KUNDEN"), qint64(1));
    }

    void failedCreationLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("NEU.FDB");
        TDatabase db;
        TTransaction transaction(&db);
        db.params = connectionParams();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, createVelmoraDatabase(db, path, [] {
            throw std::runtime_error("abgebrochen"); // as a creation killed half-way
        }));
        QVERIFY(!db.connected());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(partialDatabasePath(path)));
        // A part file left by a killed run does not block the next creation.
        QFile stale(partialDatabasePath(path));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(8192, 's'));
        stale.close();
        createVelmoraDatabase(db, path);
        QVERIFY(db.connected());
        QCOMPARE(db.databaseName(), path);
        QVERIFY(!QFile::exists(partialDatabasePath(path)));
    }
};

QTEST_GUILESS_MAIN(TestNewDatabase)
#include "tst_newdatabase.moc"

#include "DomainFixture.h"
#include <QtTest>

class TestDeviceRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void cableLengthLimit_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<qint64>("cents");
        const QList<QPair<const char *, int>> rows = {{"", 30},      {"5", 30},    {"5,4", 31},  {"6,125", 32},
                                                      {"6,875", 33}, {"8,75", 35}, {"10", 37},   {"12,5", 40},
                                                      {"20", 50},    {"30", 63},   {"50", 90},   {"57,5", 100},
                                                      {"60", 100},   {"100", 100}};
        for (const auto &[length, cents] : rows)
            QTest::newRow(*length ? length : "empty") << QString::fromLatin1(length) << qint64(cents);
    }
    void cableLengthLimit()
    {
        QFETCH(QString, length);
        QFETCH(qint64, cents);
        const std::optional<double> metres =
            length.isEmpty() ? std::nullopt : std::optional<double>(TDecimal::parse(length, 4)->toDouble());
        QCOMPARE(protectiveConductorLimit(metres).rescaled(2).units(), cents);

        static DomainFixture f;
        f.devices().edit();
        f.device("VARIABEL")->setAsBoolean(true);
        f.device("LAENGE")->setEditText(length);
        QCOMPARE(f.device("GRENZWERT0")->asDecimal(), TDecimal(cents, 2));
        f.devices().cancel();
    }

    void lengthRuleOnlyWhileEditing()
    {
        DomainFixture f;
        QCOMPARE(f.devices().state(), TDataSetState::Browse);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.device("LAENGE")->setEditText("30"));
        QCOMPARE(f.device("GRENZWERT0")->asDecimal(), TDecimal(3, 1));
    }

    void limitCeiling()
    {
        DomainFixture f;
        f.devices().edit();
        f.device("GRENZWERT0")->setEditText("0,8");
        QVERIFY_THROWS_EXCEPTION(EAbort, f.device("GRENZWERT0")->setEditText("1,01"));
        QCOMPARE(f.dialogs.messages(), QStringList{"Schutzleiterwiderstand darf nicht größer als 1,00 Ohm sein!"});
        QCOMPARE(f.dialogs.beeps(), 1);
        QCOMPARE(f.device("GRENZWERT0")->asDecimal(), TDecimal(8, 1)); // the refused value did not stay
        f.device("GRENZWERT0")->setEditText("1,00");
        QCOMPARE(f.devices().state(), TDataSetState::Edit);
    }

    void untickedCableClearsLengthOnPost()
    {
        DomainFixture f;
        f.devices().edit();
        f.device("VARIABEL")->setAsBoolean(true);
        f.device("LAENGE")->setEditText("30");
        f.device("VARIABEL")->setAsBoolean(false);
        f.devices().post();
        QVERIFY(f.device("LAENGE")->isNull());
        QCOMPARE(f.device("GRENZWERT0")->asDecimal(), TDecimal(3, 1));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE ID = 1001 AND LAENGE IS NULL AND GRENZWERT0 = 0.3"), qint64(1));
    }

    void duplicateNumberWithinCustomer()
    {
        DomainFixture f({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')",
                         "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 12, 12, 102)"});
        f.devices().edit(); // Drucker, 85
        f.device("NUMMER")->setEditText("86");
        QVERIFY_THROWS_EXCEPTION(EAbort, f.devices().post());
        QCOMPARE(f.dialogs.messages(), QStringList{"Nummer '86' ist schon vergeben..."});
        QCOMPARE(f.devices().state(), TDataSetState::Edit);
        f.device("NUMMER")->setEditText("12"); // used by another customer only
        f.devices().post();
        f.devices().edit();
        f.devices().post(); // unchanged number passes
        QCOMPARE(f.dm->checkPruefling(1001, 101, "12"), 0);
        QCOMPARE(f.dm->checkPruefling(0, 101, "12"), 1);
    }

    void numberProposal()
    {
        DomainFixture f({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Neu')",
                         "INSERT INTO KUNDEN (ID, NAME) VALUES (103, 'Voll')",
                         "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1101, 1, 12, 103)",
                         "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1102, 2, 12, 103)",
                         "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID, AKTIV) VALUES (1103, 7, 12, 103, 0)"});
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Orbenta", "Tarnholm").setValue("DefaultIntervallPruefling", "24");
        f.chooseCustomer(102);
        f.devices().append();
        QCOMPARE(f.device("NUMMER")->asString(), QStringLiteral("1"));
        QCOMPARE(f.device("KUNDEN_ID")->asInteger(), qint64(102));
        QCOMPARE(f.device("PRUEFINTERVAL")->asInteger(), qint64(24));
        QCOMPARE(f.device("GRENZWERT0")->asDecimal(), TDecimal(3, 1));
        QVERIFY(!f.device("VARIABEL")->asBoolean());
        QVERIFY(f.device("AKTIV")->asBoolean());
        f.devices().cancel();
        f.chooseCustomer(103);
        f.devices().append();
        QCOMPARE(f.device("NUMMER")->asString(), QStringLiteral("8"));
    }

    void cancelledInsertConsumesKey()
    {
        DomainFixture f;
        f.devices().append();
        QCOMPARE(f.device("ID")->asInteger(), qint64(1003));
        f.devices().cancel();
        f.devices().append();
        QCOMPARE(f.device("ID")->asInteger(), qint64(1004));
    }

    void noCustomerNoDevice()
    {
        DomainFixture f;
        f.chooseCustomer(-1);
        f.customer.reset();
        f.dm->setPrueflingeSQL();
        QVERIFY(f.devices().isEmpty());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.devices().append());
        QCOMPARE(f.devices().state(), TDataSetState::Browse);
    }

    void sortedStatement_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("ending");
        QTest::newRow("initial") << "BEZEICHNUNG" << "ASC" << "ORDER BY BEZEICHNUNG COLLATE UNICODE ASC ,NUMMER ASC";
        QTest::newRow("place descending") << "ORT" << "DESC" << "ORDER BY ORT COLLATE UNICODE DESC ,NUMMER DESC";
        QTest::newRow("interval") << "PRUEFINTERVAL" << "ASC" << "ORDER BY PRUEFINTERVAL ASC";
        QTest::newRow("number") << "NUMMER" << "ASC" << "ORDER BY NUMMER ASC";
    }
    void sortedStatement()
    {
        QFETCH(QString, field);
        QFETCH(QString, dir);
        QFETCH(QString, ending);
        static DomainFixture f;
        f.dm->PrueflingeSortField = field;
        f.dm->PrueflingeSortDir = dir;
        f.dm->setPrueflingeSQL();
        const QString sql = f.devices().selectSql().join('\n');
        QVERIFY2(sql.endsWith(ending), qPrintable(sql));
        QVERIFY(sql.contains("WHERE KUNDEN_ID = :ID  ORDER BY"));
        QCOMPARE(f.devices().recordCount(), 2);
    }

    void limitTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("conductor") << 0.3 << "Max.     0,30 Ohm";
        QTest::newRow("wide") << 10000.0 << "Max. 10000,00 Ohm";
        QTest::newRow("empty second limit") << 0.0 << "Max.     0,00 Ohm";
    }
    void limitTexts()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(TGrenzwerte::displayText("Max.", value, "Ohm"), text);
    }

    void limitsLoadedAtConnection()
    {
        DomainFixture f({"INSERT INTO GRENZWERTE (ID, BEZEICHNUNG, WERT) VALUES (5, 'Zuviel', 9)"});
        const QStringList expected = {"Max.     0,30 Ohm", "Min.     2,00 MOhm", "Max.     0,50 mA", "Max.     3,50 mA",
                                      "Max.     0,50 mA"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f.dm->GetGrenzwert(i).id, i);
            QCOMPARE(f.dm->GetGrenzwert(i).Anzeige, expected.at(i));
        }
        QCOMPARE(f.dm->GetGrenzwert(2).Anzeige_I, QStringLiteral("Max.     3,50 mA"));
        QCOMPARE(f.dm->GetGrenzwert(2).Bezeichnung, QStringLiteral("Ersatzableitstrom"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.dm->GetGrenzwert(5)); // the sixth row is not kept
        f.dm->dsetGrenzwert3.open(); // opened for reports only
        QCOMPARE(f.dm->dsetGrenzwert3.fieldByName("WERT_I")->displayText(), QStringLiteral("3,5000"));
        QVERIFY(f.dm->dsetGrenzwert1.active());
    }

    void limitEntryFollowsCurrentDevice()
    {
        DomainFixture f({"UPDATE PRUEFLINGE SET GRENZWERT0 = 0.45, VARIABEL = 1, LAENGE = 16.25 WHERE ID = 1002",
                         "UPDATE PRUEFLINGE SET GRENZWERT0 = 0.5 WHERE ID = 1001"});
        QCOMPARE(f.dm->GetGrenzwertValue(0), 0.5); // right after start-up: the first device, Drucker
        f.devices().next();
        QCOMPARE(f.dm->GetGrenzwertValue(0), 0.45);
        QCOMPARE(f.dm->GetGrenzwert(0).Anzeige, QStringLiteral("Max.     0,30 Ohm")); // the loaded text stays
        f.devices().prior();
        QCOMPARE(f.dm->GetGrenzwertValue(0), 0.5);
    }
};

QTEST_GUILESS_MAIN(TestDeviceRules)
#include "tst_devicerules.moc"

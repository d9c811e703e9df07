#include "DomainFixture.h"
#include <QtTest>

namespace {
// The demo database with more inspections of its printer (85) and a second,
// inactive device (86 Mikrowelle, class II, variable cable of 2,5 m).
const QStringList kChanges = {
    "UPDATE PRUEFLINGE SET AKTIV = 0, SCHUTZKLASSE = 'II', VARIABEL = 1, LAENGE = 2.5 WHERE ID = 1002",
    // 10003: passed without measurements; 10004: function test empty; 10005: touch current failed.
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
    "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (10003, '2024-03-15 09:00', '2025-03-15', 11, 12, 1001, 1, 1)",
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
    "SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN) "
    "VALUES (10004, '2024-03-15 10:00', '2025-03-15', 11, 12, 1001, 1, 0.1, 1)",
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
    "SICHTPRUEFUNG_BESTANDEN, BERUEHRUNGSSTROM, BERUEHRUNGSSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
    "VALUES (10005, '2024-03-15 11:00', '2024-09-15', 11, 12, 1002, 1, 0.9, 0, 1)"};

QString text(TDataSet &d, const char *name) { return d.fieldByName(QString::fromLatin1(name))->displayText(); }
} // namespace

// The computed fields, filters and assembled statements of the two reports.
class TestReportData : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void inspectionReportFields()
    {
        DomainFixture f(kChanges);
        TDataSet &d = f.dm->dsetReportPruefungen;
        f.dm->openReportPruefungenForDay(101, QDate(2024, 3, 15));
        QCOMPARE(d.recordCount(), 3);
        d.first(); // ordered by device number: 85, 85, 86
        QVERIFY(d.locate("PRUEFUNG_ID", qint64(10003)));
        QCOMPARE(text(d, "PruefungBestanden"), QStringLiteral("Die Prüfung wurde bestanden"));
        QCOMPARE(text(d, "Ergebnis"), QStringLiteral("Keine Mängel"));
        for (const char *unit : {"Bez0", "Bez1", "Bez2", "Bez3", "Bez4"})
            QVERIFY(d.fieldByName(unit)->isNull());
        QCOMPARE(text(d, "Pruefberichtsnummer"), QStringLiteral("85-10003"));
        QCOMPARE(text(d, "Pruefling_Grenzwert3"), QStringLiteral("3,50")); // class I
        QCOMPARE(text(d, "PRUEFDATUM"), QStringLiteral("15.03.2024"));

        QVERIFY(d.locate("PRUEFUNG_ID", qint64(10004)));
        QCOMPARE(text(d, "Ergebnis"), QStringLiteral("Defekt")); // function test empty
        QCOMPARE(text(d, "Bez0"), QStringLiteral("Ohm"));

        QVERIFY(d.locate("PRUEFUNG_ID", qint64(10005)));
        QCOMPARE(text(d, "PruefungBestanden"), QStringLiteral("Die Prüfung wurde nicht bestanden"));
        QCOMPARE(text(d, "Bez4"), QStringLiteral("mA"));
        QVERIFY(d.fieldByName("Bez0")->isNull());
        QCOMPARE(text(d, "Pruefling_Laenge_Anzeige"), QStringLiteral("Leitungslänge 2,5 m"));
        QCOMPARE(text(d, "Pruefling_Grenzwert3"), QStringLiteral("0,50"));
        QCOMPARE(text(d, "PRUEFLING_AKTIV"), QStringLiteral("Nein"));
    }

    void filters_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("devices");
        QTest::addColumn<QList<qint64>>("ids");
        QTest::newRow("all") << 0 << 100 << QList<qint64>{10003, 10004, 10005};
        QTest::newRow("passed") << 1 << 100 << QList<qint64>{10003};
        QTest::newRow("failed of active devices") << 2 << 110 << QList<qint64>{10004};
        QTest::newRow("inactive devices") << 0 << 120 << QList<qint64>{10005};
    }
    void filters()
    {
        QFETCH(int, result);
        QFETCH(int, devices);
        QFETCH(QList<qint64>, ids);
        static DomainFixture f(kChanges);
        f.dm->dsetReportPruefungen.tag = result;
        f.dm->AuswahlPrueflingePreview = devices;
        f.dm->openReportPruefungenForDay(101, QDate(2024, 3, 15));
        QList<qint64> found;
        for (int r = 0; r < f.dm->dsetReportPruefungen.recordCount(); ++r)
            found << valueToInteger(f.dm->dsetReportPruefungen.valueAt(r, f.dm->dsetReportPruefungen.fieldByName("PRUEFUNG_ID")));
        std::sort(found.begin(), found.end());
        QCOMPARE(found, ids);
    }

    void noRecordForUnknownKeys()
    {
        DomainFixture f(kChanges);
        f.dm->openReportPruefungenForDay(-1, QDate(2024, 3, 15));
        QVERIFY(f.dm->dsetReportPruefungen.isEmpty());
        f.dm->openReportPruefungenForInspection(0);
        QVERIFY(f.dm->dsetReportPruefungen.isEmpty());
        f.dm->openReportPruefungenForInspection(10002);
        QCOMPARE(f.dm->dsetReportPruefungen.recordCount(), 1);
        QVERIFY(!f.dm->dsetReportPruefungen.selectSql().join(' ').contains("KUNDE_ID =")); // no line carried over
    }

    void inventory()
    {
        DomainFixture f(kChanges + QStringList{"INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID) "
                                               "VALUES (1003, 'Neu', 87, 12, 101)"});
        TDataSet &d = f.dm->dsetReportInventar;
        f.dm->openReportInventar(101);
        QCOMPARE(d.recordCount(), 3);
        QVERIFY(d.locate("NUMMER", qint64(87)));
        QVERIFY(d.fieldByName("Ergebnis")->isNull()); // never inspected
        QVERIFY(d.fieldByName("Pruefberichtsnummer")->isNull());
        QVERIFY(d.locate("NUMMER", qint64(86)));
        QCOMPARE(text(d, "Ergebnis"), QStringLiteral("Defekt"));
        QCOMPARE(text(d, "Pruefberichtsnummer"), QStringLiteral("86-10005"));
        QCOMPARE(text(d, "LAST_PRUEFDATUM"), QStringLiteral("15.03.2024"));
        // Due by a day: inclusive, and devices never inspected always.
        f.dm->openReportInventar(101, QDate(2024, 9, 15));
        QCOMPARE(d.recordCount(), 2);
        f.dm->openReportInventar(101, QDate(2024, 9, 14));
        QCOMPARE(d.recordCount(), 1);
        f.dm->AuswahlPrueflingePreview = 110;
        f.dm->openReportInventar(101);
        QCOMPARE(d.recordCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestReportData)
#include "tst_reportdata.moc"

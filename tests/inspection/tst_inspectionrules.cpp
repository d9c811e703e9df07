#include "DomainFixture.h"
#include <QtTest>

namespace {
const char *const kValues[] = {"SCHUTZLEITWIDERSTAND", "ISOLATIONSPRUEFUNG", "ERSATZABLEITSTROM", "DIFFERENZSTROM",
                               "BERUEHRUNGSSTROM"};
QString flagOf(int m) { return QString::fromLatin1(kValues[m]) + "_BESTANDEN"; }
} // namespace

class TestInspectionRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }
    void cleanup() { TClock::setFixedNow(QDateTime()); }

    void judging_data()
    {
        QTest::addColumn<int>("measurement");
        QTest::addColumn<QString>("schutzklasse");
        QTest::addColumn<QString>("limit0");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("conductor at limit") << 0 << "I" << "0.3" << "0,30" << "Ja";
        QTest::newRow("conductor above") << 0 << "I" << "0.3" << "0,31" << "Nein";
        QTest::newRow("conductor long cable") << 0 << "I" << "0.45" << "0,40" << "Ja";
        QTest::newRow("insulation at limit") << 1 << "II" << "0.3" << "2,00" << "Ja";
        QTest::newRow("insulation below") << 1 << "II" << "0.3" << "1,99" << "Nein";
        QTest::newRow("insulation high") << 1 << "II" << "0.3" << "500" << "Ja";
        QTest::newRow("leakage class I at limit") << 2 << "I" << "0.3" << "3,50" << "Ja";
        QTest::newRow("leakage class I above") << 2 << "I" << "0.3" << "3,51" << "Nein";
        QTest::newRow("leakage class II") << 2 << "II" << "0.3" << "0,60" << "Nein";
        QTest::newRow("leakage class III at limit") << 2 << "III" << "0.3" << "0,50" << "Ja";
        QTest::newRow("leakage no class") << 2 << "" << "0.3" << "0,51" << "Nein";
        QTest::newRow("leakage lower-case i") << 2 << "i" << "0.3" << "1,00" << "Nein";
        QTest::newRow("differential at limit") << 3 << "II" << "0.3" << "3,50" << "Ja";
        QTest::newRow("touch above") << 4 << "II" << "0.3" << "0,51" << "Nein";
        QTest::newRow("touch at limit") << 4 << "II" << "0.3" << "0,50" << "Ja";
        QTest::newRow("emptied") << 4 << "II" << "0.3" << "" << "";
    }
    void judging()
    {
        QFETCH(int, measurement);
        QFETCH(QString, schutzklasse);
        QFETCH(QString, limit0);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        DomainFixture f({QStringLiteral("UPDATE PRUEFLINGE SET SCHUTZKLASSE = %1, GRENZWERT0 = %2 WHERE ID = 1001")
                             .arg(schutzklasse.isEmpty() ? "NULL" : "'" + schutzklasse + "'", limit0)});
        f.inspections().append();
        TField *v = f.inspection(kValues[measurement]);
        v->setEditText("0,01"); // a first value, so that emptying is a change
        v->setEditText(value);
        QCOMPARE(f.inspection(qPrintable(flagOf(measurement)))->displayText(), shown);
    }

    void result_data()
    {
        QTest::addColumn<QString>("sicht");
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QString>("funktion");
        QTest::addColumn<QString>("result");
        // A new inspection with nothing judged yet has no verdict to show.
        QTest::newRow("no measurement yet") << "1" << QStringList{"", "", "", "", ""} << "1" << "";
        QTest::newRow("visual failed") << "0" << QStringList{"1", "1", "1", "1", "1"} << "1" << "Nicht bestanden";
        QTest::newRow("one measurement failed") << "1" << QStringList{"", "0", "", "", ""} << "1" << "Nicht bestanden";
        QTest::newRow("taken ones passed") << "1" << QStringList{"1", "", "1", "", ""} << "1" << "Bestanden";
        QTest::newRow("function test empty") << "1" << QStringList{"1", "1", "1", "1", "1"} << "" << "Nicht bestanden";
        QTest::newRow("visual empty") << "" << QStringList{"", "", "", "", ""} << "1" << "Nicht bestanden";
    }
    void result()
    {
        QFETCH(QString, sicht);
        QFETCH(QStringList, flags);
        QFETCH(QString, funktion);
        QFETCH(QString, result);
        static DomainFixture f;
        f.inspections().append();
        const auto set = [&](const QString &name, const QString &v) {
            TField *flag = f.dm->dsetPruefungen.fieldByName(name);
            v.isEmpty() ? flag->clear() : flag->setAsBoolean(v == "1");
        };
        set("SICHTPRUEFUNG_BESTANDEN", sicht);
        for (int m = 0; m < 5; ++m)
            set(flagOf(m), flags.at(m));
        set("FUNKTIONSPRUEFUNG_BESTANDEN", funktion);
        QCOMPARE(f.inspection("Pruefung_Bestanden")->displayText(), result);
        f.inspections().cancel();
    }

    void newInspection_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDateTime>("next");
        QTest::newRow("end of January plus one, leap year")
            << QDateTime(QDate(2024, 1, 31), QTime(10, 15)) << 1 << QDateTime(QDate(2024, 2, 29), QTime(0, 0));
        QTest::newRow("end of January plus one") << QDateTime(QDate(2023, 1, 31), QTime(10, 15)) << 1
                                                 << QDateTime(QDate(2023, 2, 28), QTime(0, 0));
        QTest::newRow("twelve months") << QDateTime(QDate(2024, 1, 31), QTime(23, 59)) << 12
                                       << QDateTime(QDate(2025, 1, 31), QTime(0, 0));
        QTest::newRow("leap day plus twelve") << QDateTime(QDate(2024, 2, 29), QTime(8, 0)) << 12
                                              << QDateTime(QDate(2025, 2, 28), QTime(0, 0));
    }
    void newInspection()
    {
        QFETCH(QDateTime, now);
        QFETCH(int, months);
        QFETCH(QDateTime, next);
        TClock::setFixedNow(now);
        DomainFixture f({QStringLiteral("UPDATE PRUEFLINGE SET PRUEFINTERVAL = %1").arg(months)});
        f.inspections().append();
        QCOMPARE(f.inspection("ID")->asInteger(), qint64(10003));
        QCOMPARE(f.inspection("PRUEFLINGE_ID")->asInteger(), qint64(1001));
        QCOMPARE(f.inspection("PRUEFDATUM")->asDateTime(), now);
        QCOMPARE(f.inspection("NEXT_PRUEFDATUM")->asDateTime(), next);
        QCOMPARE(f.inspection("SICHTPRUEFUNG_BESTANDEN")->displayText(), QStringLiteral("Bestanden"));
        QCOMPARE(f.inspection("FUNKTIONSPRUEFUNG_BESTANDEN")->displayText(), QStringLiteral("Bestanden"));
        for (int m = 0; m < 5; ++m)
            QVERIFY(f.inspection(qPrintable(flagOf(m)))->isNull());
        f.inspections().cancel();
        f.inspections().append();
        QCOMPARE(f.inspection("ID")->asInteger(), qint64(10004)); // the cancelled one used its key
    }

    void inspectorAndInstrumentProposals()
    {
        DomainFixture f({"INSERT INTO PRUEFER (ID, NAME) VALUES (12, 'Albers')"});
        // First: the current rows of the inspector and instrument lists (first by name).
        f.inspections().append();
        QCOMPARE(f.inspection("PRUEFER_ID")->asInteger(), qint64(12));
        QCOMPARE(f.inspection("PRUEFGERAETE_ID")->asInteger(), qint64(11));
        f.inspection("PRUEFER_ID")->setAsInteger(11);
        f.inspection("PRUEFGERAETE_ID")->setAsInteger(12);
        f.inspections().post();
        // Then: those of the last inspection saved.
        f.inspections().append();
        QCOMPARE(f.inspection("PRUEFER_ID")->asInteger(), qint64(11));
        QCOMPARE(f.inspection("PRUEFGERAETE_ID")->asInteger(), qint64(12));
    }

    void savingWithoutInspectorFails()
    {
        DomainFixture f({"DELETE FROM PRUEFER"});
        f.inspections().append();
        QCOMPARE(f.inspection("PRUEFER_ID")->asInteger(), qint64(0));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.inspections().post());
        QCOMPARE(f.inspections().state(), TDataSetState::Insert);
    }

    void comparisonRecordSets()
    {
        DomainFixture f;
        f.dm->setInspectionView(nullptr);
        struct View : IInspectionView {
            QString heading;
            int shown = 0;
            void setComparisonHeading(const QString &text) override { heading = text; }
            void showWindow() override { ++shown; }
        } view;
        f.dm->setInspectionView(&view);
        // Newest first: 10002 of 10.07.2014, then 10001 of 12.01.2014.
        f.inspections().append();
        QCOMPARE(view.heading, QStringLiteral("Letzte Messung"));
        QCOMPARE(f.dm->dsrcPruefungenVorher.dataSet(), &f.dm->dsetPruefungenLetzter);
        QCOMPARE(f.dm->dsetPruefungenLetzter.fieldByName("SCHUTZLEITWIDERSTAND")->displayText(), QStringLiteral("0,07"));
        QCOMPARE(view.shown, 1);
        f.inspections().cancel();
        QCOMPARE(view.heading, QStringLiteral("Vorherige Messung"));
        f.inspections().first();
        f.inspections().edit();
        QCOMPARE(view.shown, 2);
        QCOMPARE(f.dm->dsrcPruefungenVorher.dataSet(), &f.dm->dsetPruefungenVorher);
        QCOMPARE(f.dm->dsetPruefungenVorher.fieldByName("SCHUTZLEITWIDERSTAND")->displayText(), QStringLiteral("0,06"));
        f.inspections().cancel();
        f.inspections().last();
        QVERIFY(f.dm->dsetPruefungenVorher.isEmpty()); // nothing before the oldest
        f.dm->setInspectionView(nullptr);
    }

    void displayFormats()
    {
        DomainFixture f;
        TClock::setFixedNow(QDateTime(QDate(2024, 1, 31), QTime(14, 5)));
        f.inspections().append();
        QCOMPARE(f.inspection("PRUEFDATUM")->displayText(), QStringLiteral("31.01.2024 14:05"));
        f.inspection("ISOLATIONSPRUEFUNG")->setEditText("1234,5");
        QCOMPARE(f.inspection("ISOLATIONSPRUEFUNG")->displayText(), QStringLiteral("1.234,50"));
        QCOMPARE(f.inspection("ISOLATIONSPRUEFUNG")->editText(), QStringLiteral("1234,5000"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.inspection("ISOLATIONSPRUEFUNG")->setEditText("viel"));
        QCOMPARE(f.inspection("ISOLATIONSPRUEFUNG_BESTANDEN")->displayText(), QStringLiteral("Ja"));
    }
};

QTEST_GUILESS_MAIN(TestInspectionRules)
#include "tst_inspectionrules.moc"

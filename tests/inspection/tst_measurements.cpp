#include "DomainFixture.h"
#include "Measurements.h"
#include <QtTest>

// The catalogue of measurements, and that every record set, the limit table
// and judging follow it entry by entry.
class TestMeasurements : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void entries_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("minimum");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<bool>("deviceLimit");
        QTest::addColumn<bool>("classOneRule");
        QTest::newRow("protective conductor") << 0 << "SCHUTZLEITWIDERSTAND" << "SCHUTZLEITWIDERSTAND_BESTANDEN" << false
                                              << "Schutzleiterwiderstand" << "Ohm" << true << false;
        QTest::newRow("insulation") << 1 << "ISOLATIONSPRUEFUNG" << "ISOLATIONSPRUEFUNG_BESTANDEN" << true
                                    << "Isolationsprüfung" << "MOhm" << false << false;
        QTest::newRow("substitute leakage") << 2 << "ERSATZABLEITSTROM" << "ERSATZABLEITSTROM_BESTANDEN" << false
                                            << "Ersatzableitstrom" << "mA" << false << true;
        QTest::newRow("differential") << 3 << "DIFFERENZSTROM" << "DIFFERENZSTROM_BESTANDEN" << false << "Differenzstrom"
                                      << "mA" << false << false;
        QTest::newRow("touch") << 4 << "BERUEHRUNGSSTROM" << "BERUEHRUNGSSTROM_BESTANDEN" << false << "Berührungsstrom"
                               << "mA" << false << false;
    }
    void entries()
    {
        QFETCH(int, index);
        QFETCH(QString, column);
        QFETCH(QString, flag);
        QFETCH(bool, minimum);
        QFETCH(QString, label);
        QFETCH(QString, unit);
        QFETCH(bool, deviceLimit);
        QFETCH(bool, classOneRule);
        QCOMPARE(kMeasurementCount, 5);
        const Measurement &m = kMeasurements.at(static_cast<size_t>(index));
        QCOMPARE(m.limitRow, index); // the order is the key of the limit rows
        QCOMPARE(m.valueColumn(), column);
        QCOMPARE(m.flagColumn(), flag);
        QCOMPARE(m.kind == LimitKind::Minimum, minimum);
        QCOMPARE(m.germanLabel(), label);
        QCOMPARE(m.germanUnit(), unit);
        QCOMPARE(m.deviceLimitColumn != nullptr, deviceLimit);
        QCOMPARE(m.classOneApplies(QStringLiteral("I")), classOneRule);
        QVERIFY(!m.classOneApplies(QStringLiteral("II")));
        QVERIFY(!m.classOneApplies(QStringLiteral("i")));

        // The stored limit row names the same measurement, kind and unit.
        DomainFixture f;
        const TRecGrenzwert row = f.dm->GetGrenzwert(m.limitRow);
        QCOMPARE(row.Bezeichnung, label);
        QCOMPARE(row.Bez1, minimum ? QStringLiteral("Min.") : QStringLiteral("Max."));
        QCOMPARE(row.Bez2, unit);
    }

    // A value equal to the limit that applies passes; one step beyond it fails.
    void judgingAtTheLimit_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("schutzklasse");
        for (const Measurement &m : kMeasurements)
            for (const char *klasse : {"I", "II"})
                QTest::addRow("%s class %s", m.column, klasse) << m.limitRow << QString::fromLatin1(klasse);
    }
    void judgingAtTheLimit()
    {
        QFETCH(int, index);
        QFETCH(QString, schutzklasse);
        const Measurement &m = kMeasurements.at(static_cast<size_t>(index));
        DomainFixture f({QStringLiteral("UPDATE PRUEFLINGE SET SCHUTZKLASSE = '%1', GRENZWERT0 = 0.45 WHERE ID = 1001").arg(schutzklasse)});
        const double limit = m.limitFor(f.dm->GetGrenzwertValue(m.limitRow), schutzklasse);
        if (m.deviceLimitColumn)
            QCOMPARE(limit, 0.45);
        f.inspections().append();
        TField *value = f.dm->dsetPruefungen.fieldByName(m.valueColumn());
        TField *passed = f.dm->dsetPruefungen.fieldByName(m.flagColumn());
        value->setEditText(QLocale().toString(limit, 'f', 4));
        QCOMPARE(passed->displayText(), QStringLiteral("Ja"));
        const double beyond = m.kind == LimitKind::Minimum ? limit - 0.01 : limit + 0.01;
        value->setEditText(QLocale().toString(beyond, 'f', 4));
        QCOMPARE(passed->displayText(), QStringLiteral("Nein"));
    }

    // Adding an entry is all the record sets need: each carries every
    // measurement's value and flag, and there is a limit record set and a
    // limit table entry per measurement.
    void everyPlaceFollowsTheCatalogue()
    {
        DomainFixture f;
        TfrmDM &dm = *f.dm;
        for (const Measurement &m : kMeasurements) {
            for (TDataSet *d : {&dm.dsetPruefungen, &dm.dsetPruefungenVorher, &dm.dsetPruefungenLetzter, &dm.dsetReportPruefungen}) {
                QVERIFY2(d->findField(m.valueColumn()), m.column);
                QVERIFY2(d->findField(m.flagColumn()), m.column);
            }
            QVERIFY(dm.dsetReportInventar.findField(m.flagColumn()));
            QVERIFY(dm.dsetReportPruefungen.findField(QStringLiteral("Grenzwert%1").arg(m.limitRow)));
            QVERIFY(dm.dsetReportPruefungen.findField(QStringLiteral("Urteil%1").arg(m.limitRow)));
            TDataSet &limits = *dm.dsetGrenzwerte.at(static_cast<size_t>(m.limitRow));
            limits.open();
            QCOMPARE(limits.fieldByName(QStringLiteral("ID"))->asInteger(), qint64(m.limitRow));
            QCOMPARE(limits.findField(QStringLiteral("WERT_I")) != nullptr, m.classOneLimit.has_value());
        }
        QCOMPARE(dm.dsetGrenzwerte.size(), kMeasurements.size());
        QCOMPARE(TGrenzwerte::Count, kMeasurementCount);
    }
};

QTEST_GUILESS_MAIN(TestMeasurements)
#include "tst_measurements.moc"

#include "Attention.h"
#include "DomainFixture.h"
#include <QtTest>

namespace {

// One inspection of the printer 1001 (class I, own limit 0.30 Ohm):
// "date|next|visual passed|conductor Ohm|insulation MOhm|leakage mA", values may be empty.
QString inspectionInsert(const QString &row)
{
    const QStringList p = row.split(QLatin1Char('|'));
    const auto value = [&](int i) { return p.value(i).isEmpty() ? QStringLiteral("NULL") : p.value(i); };
    const auto flag = [&](int i) { return p.value(i).isEmpty() ? QStringLiteral("NULL") : QStringLiteral("1"); };
    return QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                          "PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, "
                          "SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, "
                          "ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN) VALUES (GEN_ID(SEQ_PRUEFUNGEN, 1), "
                          "'%1', '%2', 11, 12, 1001, %3, 1, %4, %5, %6, %7, %8, %9)")
        .arg(p.value(0), p.value(1), p.value(2), value(3), flag(3), value(4), flag(4), value(5), flag(5));
}

} // namespace

class TestAttention : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }
    void cleanup() { TClock::setFixedNow(QDateTime()); }

    void marks_data()
    {
        QTest::addColumn<QString>("today");
        QTest::addColumn<int>("device");
        QTest::addColumn<QStringList>("inspections"); // oldest first
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QString>("reason"); // a part of the tooltip

        const QString ok = QStringLiteral("2026-03-01|2027-03-01|1|");
        QTest::newRow("never inspected") << "2026-12-10" << 1002 << QStringList{} << "überfällig" << "Noch nie geprüft";
        QTest::newRow("overdue since yesterday") << "2026-12-01" << 1001 << QStringList{"2025-11-30|2026-11-30|1|0.1"}
                                                 << "überfällig" << "Überfällig seit 30.11.2026";
        QTest::newRow("due today") << "2026-11-30" << 1001 << QStringList{"2025-11-30|2026-11-30|1|0.1"}
                                   << "bald fällig" << "Heute fällig";
        QTest::newRow("leap day in 30 days") << "2028-01-30" << 1001 << QStringList{"2027-02-28|2028-02-29|1|0.1"}
                                             << "bald fällig" << "Fällig am 29.02.2028 (in 30 Tagen)";
        QTest::newRow("leap day in 31 days") << "2028-01-29" << 1001 << QStringList{"2027-02-28|2028-02-29|1|0.1"}
                                             << "" << "";
        QTest::newRow("failed latest") << "2026-12-10" << 1001 << QStringList{ok + "0.1", "2026-06-01|2027-06-01|0|0.1"}
                                       << "nicht bestanden" << "Letzte Prüfung am 01.06.2026 nicht bestanden";
        QTest::newRow("failed earlier only") << "2026-12-10" << 1001 << QStringList{"2026-01-01|2027-01-01|0|0.1", ok + "0.1"}
                                             << "" << "";
        QTest::newRow("latest two share a time") << "2026-12-10" << 1001
                                                 << QStringList{ok + "0.1", "2026-03-01|2027-03-01|0|0.1"}
                                                 << "nicht bestanden" << "01.03.2026";
        QTest::newRow("conductor above 80 %") << "2026-12-10" << 1001 << QStringList{ok + "0.25"} << "nahe Grenzwert"
                                              << "Schutzleiterwiderstand 0,25 Ohm nahe am Grenzwert 0,30 Ohm";
        QTest::newRow("conductor at 80 %") << "2026-12-10" << 1001 << QStringList{ok + "0.24"} << "" << "";
        QTest::newRow("insulation below 120 %") << "2026-12-10" << 1001 << QStringList{ok + "|2.3"} << "nahe Grenzwert"
                                                << "Isolationsprüfung 2,30 MOhm nahe am Grenzwert 2,00 MOhm";
        QTest::newRow("insulation at 120 %") << "2026-12-10" << 1001 << QStringList{ok + "|2.4"} << "" << "";
        QTest::newRow("class I leakage near 3.5") << "2026-12-10" << 1001 << QStringList{ok + "||3.0"}
                                                  << "nahe Grenzwert" << "Grenzwert 3,50 mA";
        QTest::newRow("rising at each of three") << "2026-12-10" << 1001
                                                 << QStringList{"2023-03-01|2024-03-01|1|0.05", "2024-03-01|2025-03-01|1|0.06",
                                                                "2025-03-01|2026-03-01|1|0.07", ok + "0.08"}
                                                 << "nahe Grenzwert" << "bei den letzten 3 Prüfungen stetig gestiegen";
        QTest::newRow("falling insulation") << "2026-12-10" << 1001
                                            << QStringList{"2023-03-01|2024-03-01|1||90", "2024-03-01|2025-03-01|1||80",
                                                           "2025-03-01|2026-03-01|1||70", ok + "|60"}
                                            << "nahe Grenzwert" << "stetig gesunken";
        QTest::newRow("only two moves") << "2026-12-10" << 1001
                                        << QStringList{"2024-03-01|2025-03-01|1|0.06", "2025-03-01|2026-03-01|1|0.07", ok + "0.08"}
                                        << "" << "";
        QTest::newRow("trend broken") << "2026-12-10" << 1001
                                      << QStringList{"2023-03-01|2024-03-01|1|0.05", "2024-03-01|2025-03-01|1|0.07",
                                                     "2025-03-01|2026-03-01|1|0.06", ok + "0.08"}
                                      << "" << "";
        QTest::newRow("trend with a gap") << "2026-12-10" << 1001
                                          << QStringList{"2023-03-01|2024-03-01|1|0.05", "2024-03-01|2025-03-01|1|",
                                                         "2025-03-01|2026-03-01|1|0.07", ok + "0.08"}
                                          << "" << "";
        QTest::newRow("overdue and failed and near") << "2027-03-02" << 1001 << QStringList{"2026-03-01|2027-03-01|0|0.29"}
                                                     << "überfällig, nicht bestanden, nahe Grenzwert" << "Überfällig seit 01.03.2027";
    }
    void marks()
    {
        QFETCH(QString, today);
        QFETCH(int, device);
        QFETCH(QStringList, inspections);
        QFETCH(QString, marks);
        QFETCH(QString, reason);
        QStringList changes{QStringLiteral("DELETE FROM PRUEFUNGEN")};
        for (const QString &row : inspections)
            changes << inspectionInsert(row);
        DomainFixture f(changes);
        TClock::setFixedNow(QDateTime(QDate::fromString(today, Qt::ISODate), QTime(9, 0)));

        const QHash<int, TAttention> all = customerAttention(&f.dm->Database, 101);
        QCOMPARE(all.size(), 2);
        const TAttention a = all.value(device);
        QCOMPARE(a.shortText(), marks);
        QVERIFY2(a.reasons().contains(reason), qPrintable(a.reasons()));
        QCOMPARE(deviceAttention(&f.dm->Database, device).shortText(), marks);
    }

    void worsening_data()
    {
        QTest::addColumn<int>("measurement");
        QTest::addColumn<double>("previous");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("limit");
        QTest::addColumn<bool>("worse");
        QTest::newRow("maximum, more than half") << 0 << 0.10 << 0.21 << 0.30 << true;
        QTest::newRow("maximum, exactly half") << 0 << 0.10 << 0.20 << 0.30 << false;
        QTest::newRow("maximum, better") << 0 << 0.10 << 0.05 << 0.30 << false;
        QTest::newRow("minimum, more than half") << 1 << 10.0 << 5.9 << 2.0 << true;
        QTest::newRow("minimum, less than half") << 1 << 10.0 << 6.1 << 2.0 << false;
        QTest::newRow("previous already failed") << 0 << 0.40 << 0.50 << 0.30 << false;
    }
    void worsening()
    {
        QFETCH(int, measurement);
        QFETCH(double, previous);
        QFETCH(double, value);
        QFETCH(double, limit);
        QFETCH(bool, worse);
        QCOMPARE(worsenedBeyondHalfMargin(kMeasurements.at(static_cast<size_t>(measurement)), previous, value, limit), worse);
    }
};

QTEST_GUILESS_MAIN(TestAttention)
#include "tst_attention.moc"

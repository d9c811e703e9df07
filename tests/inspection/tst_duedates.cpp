#include "DomainFixture.h"
#include "DueTable.h"
#include "IndexStatistics.h"
#include "PreparedStatements.h"
#include "StatementPlan.h"
#include <QtTest>

namespace {
QString inspection(int id, const char *when, const char *next, int device)
{
    return QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, "
                          "PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
                          "VALUES (%1, '%2', '%3', 11, 12, %4)")
        .arg(id)
        .arg(QString::fromLatin1(when), QString::fromLatin1(next))
        .arg(device);
}

QString device(int id, const char *name, int customer, int active = 1)
{
    return QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, "
                          "PRUEFINTERVAL, KUNDEN_ID, AKTIV) "
                          "VALUES (%1, '%2', %1, 'Halle ü', 12, %3, %4)")
        .arg(id)
        .arg(QString::fromLatin1(name))
        .arg(customer)
        .arg(active);
}

// Beside the demo customer 101 (printer 1001 overdue since 2015, microwave
// 1002 never inspected): an active customer 102 and an inactive one 103.
const QStringList kDueWorld = {
    QStringLiteral("INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (102, 'Zweite Firma', 1)"),
    QStringLiteral("INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (103, 'Ruhende "
                   "Firma', 0)"),
    device(2001, "Schalttag", 102),
    device(2002, "Monatserster", 102),
    device(2003, "Gleichzeitig", 102),
    device(2004, "Ausgemustert", 102, 0),
    device(2005, "Heute", 102),
    device(2006, "Gestern", 102),
    device(3001, "Ruhend", 103),
    inspection(5001, "2023-02-28 09:00", "2024-02-29 09:00", 2001),
    inspection(5002, "2023-03-01 09:00", "2024-03-01 09:00", 2002),
    // Two inspections of the same moment: the higher key is the latest.
    inspection(5003, "2023-04-30 10:00", "2024-03-31 10:00", 2003),
    inspection(5004, "2023-04-30 10:00", "2024-04-30 10:00", 2003),
    inspection(5005, "2023-02-28 23:59", "2024-02-28 23:59", 2005),
    inspection(5006, "2023-02-27 08:00", "2024-02-27 08:00", 2006),
};

// Each due device with its next date, by key: what a list shows, whatever
// its order.
QStringList dueByKey(const QList<TDueDevice> &devices)
{
    QStringList rows;
    for (const TDueDevice &d : devices)
        rows << QStringLiteral("%1 %2").arg(d.prueflingId).arg(d.nextDate.toString(Qt::ISODate));
    rows.sort();
    return rows;
}

QList<int> deviceIds(const QList<TDueDevice> &devices)
{
    QList<int> ids;
    for (const TDueDevice &d : devices)
        ids << d.prueflingId;
    return ids;
}
} // namespace

class TestDueDates : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        TClock::setFixedNow(QDateTime(QDate(2024, 2, 28), QTime(7, 30)));
    }
    void cleanupTestCase() { TClock::setFixedNow(QDateTime()); }

    // The last day a horizon reaches, and the horizon as a report prints it.
    void horizonEnd_data()
    {
        QTest::addColumn<int>("horizon");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("printed");
        const auto row = [](const char *name, TDueHorizon h, QDate today, QDate end, const char *printed) {
            QTest::newRow(name) << int(h) << today << end << QString::fromUtf8(printed);
        };
        row("overdue: yesterday, over a leap day", TDueHorizon::Overdue, QDate(2024, 3, 1), QDate(2024, 2, 29),
            "überfällig (fällig vor dem 01.03.2024)");
        row("month end in a leap year", TDueHorizon::EndOfMonth, QDate(2024, 2, 10), QDate(2024, 2, 29),
            "bis Monatsende (29.02.2024)");
        row("month end otherwise", TDueHorizon::EndOfMonth, QDate(2023, 2, 10), QDate(2023, 2, 28),
            "bis Monatsende (28.02.2023)");
        row("month end on the last day", TDueHorizon::EndOfMonth, QDate(2024, 1, 31), QDate(2024, 1, 31),
            "bis Monatsende (31.01.2024)");
        row("30 days past February", TDueHorizon::Days30, QDate(2024, 1, 31), QDate(2024, 3, 1), "in 30 Tagen (bis 01.03.2024)");
        row("60 days", TDueHorizon::Days60, QDate(2024, 2, 28), QDate(2024, 4, 28), "in 60 Tagen (bis 28.04.2024)");
        row("90 days over the year's end", TDueHorizon::Days90, QDate(2023, 12, 1), QDate(2024, 2, 29),
            "in 90 Tagen (bis 29.02.2024)");
    }
    void horizonEnd()
    {
        QFETCH(int, horizon);
        QFETCH(QDate, today);
        QFETCH(QDate, end);
        QFETCH(QString, printed);
        QCOMPARE(dueHorizonEnd(TDueHorizon(horizon), today), end);
        QCOMPARE(dueHorizonText(TDueHorizon(horizon), today), printed);
    }

    void chosenDayIsPrinted()
    {
        QCOMPARE(dueHorizonText(TDueHorizon::UntilDate, QDate(2024, 2, 28), QDate(2024, 2, 29)),
                 QStringLiteral("bis zum 29.02.2024"));
    }

    void dueList_data()
    {
        QTest::addColumn<QDate>("until");
        QTest::addColumn<QList<int>>("devices");
        const QDate today = TClock::today();
        const QList<int> overdue = {1002, 1001, 2006};
        QTest::newRow("überfällig") << dueHorizonEnd(TDueHorizon::Overdue, today) << overdue;
        QTest::newRow("bis Monatsende: today and the leap day")
            << dueHorizonEnd(TDueHorizon::EndOfMonth, today) << QList<int>{1002, 1001, 2006, 2005, 2001};
        QTest::newRow("in 30 Tagen") << dueHorizonEnd(TDueHorizon::Days30, today)
                                     << QList<int>{1002, 1001, 2006, 2005, 2001, 2002};
        QTest::newRow("in 60 Tagen: the tie's later key is not yet due")
            << dueHorizonEnd(TDueHorizon::Days60, today) << QList<int>{1002, 1001, 2006, 2005, 2001, 2002};
        QTest::newRow("in 90 Tagen: one row for the tie")
            << dueHorizonEnd(TDueHorizon::Days90, today) << QList<int>{1002, 1001, 2006, 2005, 2001, 2002, 2003};
        QTest::newRow("bis Datum") << dueHorizonEnd(TDueHorizon::UntilDate, today, QDate(2024, 4, 29))
                                   << QList<int>{1002, 1001, 2006, 2005, 2001, 2002};
    }
    void dueList()
    {
        QFETCH(QDate, until);
        QFETCH(QList<int>, devices);
        static DomainFixture f(kDueWorld);
        const QList<TDueDevice> due = f.dm->dueDevices(until);
        QCOMPARE(deviceIds(due), devices);
        for (const TDueDevice &d : due)
            QCOMPARE(d.kundeName, d.kundeId == 101 ? QStringLiteral("Demo-Kunde") : QStringLiteral("Zweite Firma"));
    }

    // The list of every customer reads the next dates the database keeps
    // per device; after any change it shows what each customer's own list,
    // read from the inspections themselves, shows.
    void allCustomersFollowEveryChange_data()
    {
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("inspection saved") << QStringList{inspection(6001, "2024-02-27 10:00", "2030-01-01 10:00", 1002)};
        QTest::newRow("inspection deleted") << QStringList{QStringLiteral("DELETE FROM PRUEFUNGEN WHERE ID = 5006")};
        QTest::newRow("latest deleted, the earlier counts")
            << QStringList{QStringLiteral("DELETE FROM PRUEFUNGEN WHERE ID = 5004")};
        QTest::newRow("next date corrected")
            << QStringList{QStringLiteral("UPDATE PRUEFUNGEN SET NEXT_PRUEFDATUM = '2030-01-01' WHERE ID = 5006")};
        QTest::newRow("inspection date corrected behind an earlier one")
            << QStringList{QStringLiteral("UPDATE PRUEFUNGEN SET PRUEFDATUM = '2023-04-29 10:00' WHERE ID = 5004")};
        QTest::newRow("inspection moved to another device")
            << QStringList{QStringLiteral("UPDATE PRUEFUNGEN SET PRUEFLINGE_ID = 2002 WHERE ID = 5006")};
        QTest::newRow("device retired") << QStringList{QStringLiteral("UPDATE PRUEFLINGE SET AKTIV = 0 WHERE ID = 2006")};
        QTest::newRow("device back in use, with its inspection")
            << QStringList{inspection(6002, "2023-01-01 10:00", "2024-01-01 10:00", 2004),
                           QStringLiteral("UPDATE PRUEFLINGE SET AKTIV = 1 WHERE ID = 2004")};
        QTest::newRow("device renamed") << QStringList{QStringLiteral("UPDATE PRUEFLINGE SET ORT = 'Keller' WHERE ID = 2006")};
        QTest::newRow("device deleted") << QStringList{QStringLiteral("DELETE FROM PRUEFLINGE WHERE ID = 2006")};
        QTest::newRow("new device") << QStringList{device(2007, "Neu", 102)};
        QTest::newRow("customer retired") << QStringList{QStringLiteral("UPDATE KUNDEN SET AKTIV = 0 WHERE ID = 102")};
        QTest::newRow("customer back") << QStringList{QStringLiteral("UPDATE KUNDEN SET AKTIV = 1 WHERE ID = 103")};
        QTest::newRow("customer deleted") << QStringList{QStringLiteral("DELETE FROM KUNDEN WHERE ID = 102")};
    }
    void allCustomersFollowEveryChange()
    {
        QFETCH(QStringList, changes);
        DomainFixture f(kDueWorld);
        QVERIFY(dueTablePresent(f.dm->Database));
        for (const QString &change : changes) {
            TQuery q(&f.dm->Database);
            q.setSql(change);
            q.execQuery();
        }
        const QDate until(2030, 12, 31);
        QList<TDueDevice> perCustomer;
        for (int customer : {101, 102, 103})
            perCustomer += f.dm->dueDevices(until, customer);
        QCOMPARE(dueByKey(f.dm->dueDevices(until)), dueByKey(perCustomer));
    }

    // The due devices of every customer are found through the index on the
    // kept dates, each with its device and customer by key: the rows read
    // are the rows shown, not every device of the file.
    void allCustomersReadThroughTheDateIndex()
    {
        DomainFixture f(kDueWorld);
        recomputeIndexStatistics(f.dm->Database);
        QStringList statements;
        {
            PreparedStatements recording;
            f.dm->dueDevices(QDate(2030, 1, 1));
            statements = recording.texts().filter(QStringLiteral("FAELLIGKEITEN"));
        }
        QCOMPARE(statements.size(), 1);
        const QString plan = explainedStatementPlan(f.dm->Database, statements.first());
        QVERIFY2(plan.contains(QStringLiteral("Index \"FAELLIGKEITEN_DATUM\" Range Scan")), qPrintable(plan));
        QVERIFY2(!plan.contains(QStringLiteral("Full Scan")), qPrintable(plan));
    }

    void neverInspectedIsOverdue()
    {
        DomainFixture f(kDueWorld);
        const QList<TDueDevice> due = f.dm->dueDevices(QDate(2000, 1, 1), 101);
        QCOMPARE(deviceIds(due), QList<int>{1002});
        QVERIFY(due.first().neverInspected());
        QCOMPARE(due.first().ort, QStringLiteral("Raum 11"));
    }

    void statusCounts_data()
    {
        QTest::addColumn<int>("customer");
        QTest::addColumn<QString>("text");
        QTest::newRow("demo customer") << 101 << QStringLiteral("2 überfällig, 0 in 30 Tagen");
        QTest::newRow("today and the leap day are not overdue") << 102 << QStringLiteral("1 überfällig, 3 in 30 Tagen");
        QTest::newRow("inactive customer") << 103 << QStringLiteral("0 überfällig, 0 in 30 Tagen");
    }
    void statusCounts()
    {
        QFETCH(int, customer);
        QFETCH(QString, text);
        static DomainFixture f(kDueWorld);
        QCOMPARE(dueCountsText(f.dm->customerDueCounts(customer)), text);
    }

    void deviceGridShowsTheLatestNextDate()
    {
        DomainFixture f(kDueWorld);
        f.chooseCustomer(102);
        QVERIFY(f.devices().locate(QStringLiteral("ID"), TValue(qint64(2003))));
        QCOMPARE(f.device("NAECHSTE_PRUEFUNG")->asDateTime().date(), QDate(2024, 4, 30));
        QVERIFY(f.devices().locate(QStringLiteral("ID"), TValue(qint64(2004))));
        QVERIFY(f.device("NAECHSTE_PRUEFUNG")->isNull());
        // Sorting by the column keeps the never inspected device first.
        f.dm->PrueflingeSortField = QStringLiteral("NAECHSTE_PRUEFUNG");
        f.dm->setPrueflingeSQL();
        f.devices().first();
        QVERIFY(f.device("NAECHSTE_PRUEFUNG")->isNull());
    }

    void storedInspectionMovesTheNextDate()
    {
        DomainFixture f(kDueWorld);
        f.chooseCustomer(102);
        QVERIFY(f.devices().locate(QStringLiteral("ID"), TValue(qint64(2004))));
        f.inspections().append();
        f.inspection("PRUEFER_ID")->setAsInteger(11);
        f.inspection("PRUEFGERAETE_ID")->setAsInteger(12);
        f.inspections().post();
        // Twelve months from the fixed today, 2024-02-28.
        QCOMPARE(f.device("NAECHSTE_PRUEFUNG")->asDateTime().date(), QDate(2025, 2, 28));
        QCOMPARE(f.device("ID")->asInteger(), 2004);
        f.inspections().deleteRecord();
        QVERIFY(f.device("NAECHSTE_PRUEFUNG")->isNull());
    }
};

QTEST_GUILESS_MAIN(TestDueDates)
#include "tst_duedates.moc"

// The due list on paper, printed from the "Fälligkeiten" window: grouped by
// customer with a count per customer and in total, the horizon, customer
// and place filter in its header.
#include "AppTestMain.h"
#include "LayoutCheck.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

namespace {
QString device(int id, const char *name, const char *place, int customer)
{
    return QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, "
                          "PRUEFINTERVAL, KUNDEN_ID) VALUES (%1, '%2', %1, '%3', 12, %4)")
        .arg(id)
        .arg(QString::fromUtf8(name), QString::fromUtf8(place))
        .arg(customer);
}

QString inspection(int id, const char *next, int device)
{
    return QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, "
                          "PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
                          "VALUES (%1, '2023-01-01 09:00', '%2', 11, 12, %3)")
        .arg(id)
        .arg(QString::fromLatin1(next))
        .arg(device);
}

// Beside the demo customer (printer overdue since 2015, microwave never
// inspected): a second customer with three devices due at the end of
// February in a leap year and one in April, and an inactive customer.
const QStringList kDueWorld = {
    "INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (102, 'Zweite Firma', 1)",
    "INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (103, 'Ruhende Firma', 0)",
    device(2001, "Bohrer", "Keller", 102),
    device(2002, "Säge", "Halle", 102),
    device(2003, "Schalttagsgerät", "Halle", 102),
    device(2004, "Später", "Halle", 102),
    device(3001, "Lampe", "Keller", 103),
    inspection(5001, "2024-02-27", 2001),
    inspection(5002, "2024-02-28", 2002),
    inspection(5003, "2024-02-29", 2003),
    inspection(5004, "2024-04-15", 2004),
};

struct Running : TRunningProgram {
    Running() : TRunningProgram(kDueWorld, QDateTime(QDate(2024, 2, 28), QTime(8, 0)))
    {
        find<QAction>(frmMain, "Faelligkeiten1")->trigger();
    }
    static void chooseHorizon(const QString &text)
    {
        auto *horizon = find<QComboBox>("cbFaelligZeitraum");
        horizon->setCurrentIndex(horizon->findText(text));
    }
    // Presses "Drucken..." and returns the texts of the report window's
    // pages, closing it again.
    static QStringList printedTexts(TPageStream *stream = nullptr)
    {
        QStringList texts;
        // The window runs its own loop until closed: look for it from there.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *report = qobject_cast<TPreviewExt *>(w); report && report->isVisible()) {
                    poll.stop();
                    texts = report->InputStream().texts;
                    if (stream)
                        *stream = report->InputStream();
                    report->close();
                }
        });
        poll.start(10);
        click("btnFaelligDrucken");
        return texts;
    }
};

QString joined(const QStringList &texts)
{
    return texts.join(u'|');
}
} // namespace

class TestDueReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void groupedByCustomerWithCounts()
    {
        Running r;
        r.chooseHorizon("bis Monatsende");
        TPageStream stream;
        const QStringList texts = r.printedTexts(&stream);
        QVERIFY2(!texts.isEmpty(), "no report window");
        const QString all = joined(texts);
        QVERIFY2(all.contains("Fälligkeiten|"), qPrintable(all));
        QVERIFY(texts.contains("alle Kunden"));
        QVERIFY2(texts.contains("bis Monatsende (29.02.2024)"), qPrintable(all));
        // Each customer's devices follow its name; its count closes them.
        const QString demo = "Demo-Kunde|86|Mikrowelle|Raum 11|nie "
                             "geprüft|überfällig|85|Drucker|Raum 10|10.01.2015|überfällig|"
                             "2 fällige Prüflinge";
        QVERIFY2(all.contains(demo), qPrintable(all));
        const QString second = "Zweite "
                               "Firma|2001|Bohrer|Keller|27.02.2024|überfällig|2002|Säge|Halle|28.02."
                               "2024|fällig|"
                               "2003|Schalttagsgerät|Halle|29.02.2024|fällig|3 fällige Prüflinge";
        QVERIFY2(all.contains(second), qPrintable(all));
        QVERIFY(!all.contains("Später"));
        QVERIFY(!all.contains("Ruhende Firma"));
        const qsizetype total = texts.indexOf("Fällige Prüflinge insgesamt");
        QVERIFY(total > 0);
        QCOMPARE(texts.value(total + 1), QStringLiteral("5"));
        QCOMPARE(texts.value(total + 3),
                 QStringLiteral("3")); // overdue: never inspected, 2015, yesterday
        QVERIFY2(layoutFaults(stream).isEmpty(), qPrintable(layoutFaults(stream).join(u'\n')));
    }

    void filtersOfTheWindowReachThePaper()
    {
        Running r;
        r.chooseHorizon("überfällig");
        QTest::keyClicks(r.find<QLineEdit>("editFaelligOrt"), "kel");
        QString all = joined(r.printedTexts());
        QVERIFY2(all.contains("alle Kunden, Standort enthält „kel“"), qPrintable(all));
        QVERIFY(all.contains("überfällig (fällig vor dem 28.02.2024)"));
        QVERIFY(all.contains("Zweite Firma|2001|Bohrer"));
        QVERIFY(!all.contains("Drucker"));
        r.find<QLineEdit>("editFaelligOrt")->clear();

        auto *customer = r.find<QComboBox>("cbFaelligKunde");
        customer->setCurrentIndex(customer->findText("Demo-Kunde"));
        all = joined(r.printedTexts());
        QVERIFY2(all.contains("Kunden|Demo-Kunde|"), qPrintable(all));
        QVERIFY(!all.contains("Zweite Firma"));
    }

    void nothingDueStillPrintsTheHeader()
    {
        Running r;
        auto *customer = r.find<QComboBox>("cbFaelligKunde");
        customer->setCurrentIndex(customer->findText("Zweite Firma"));
        QTest::keyClicks(r.find<QLineEdit>("editFaelligOrt"), "Dach");
        const QStringList texts = r.printedTexts();
        const qsizetype total = texts.indexOf("Fällige Prüflinge insgesamt");
        QVERIFY2(total > 0, qPrintable(joined(texts)));
        QCOMPARE(texts.value(total + 1), QStringLiteral("0"));
    }
};

VELMORA_APP_TEST_MAIN(TestDueReport)
#include "tst_duereport.moc"

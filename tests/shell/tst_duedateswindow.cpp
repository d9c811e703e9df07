#include "RunningProgram.h"
#include "UDueDates.h"
#include "UMain.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
// Beside the demo customer (printer overdue since 2015, microwave never
// inspected): a second customer with a device overdue in the cellar and one
// due in ten days in the hall, and an inactive customer.
const QStringList kDueWorld = {
    "INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (102, 'Zweite Firma', 1)",
    "INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (103, 'Ruhende Firma', 0)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (2001, 'Bohrer', 1, 'Keller', 12, 102)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (2002, 'Säge', 2, 'Halle', 12, 102)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (3001, 'Lampe', 1, 'Keller', 12, 103)",
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
    "VALUES (5001, '2023-01-10 09:00', '2024-01-10 09:00', 11, 12, 2001)",
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
    "VALUES (5002, '2023-03-09 09:00', '2024-03-09 09:00', 11, 12, 2002)"};

struct Running : TRunningProgram {
    Running() : TRunningProgram(kDueWorld, QDateTime(QDate(2024, 2, 28), QTime(8, 0)))
    {
        find<QAction>(frmMain, "Faelligkeiten1")->trigger();
    }
    static QTreeWidget *tree() { return find<QTreeWidget>("treeFaellig"); }
    static QString total() { return find<QLabel>("lblFaelligGesamt")->text(); }
    static QStringList groups()
    {
        QStringList titles;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i)
            titles << tree()->topLevelItem(i)->text(0);
        return titles;
    }
    static QTreeWidgetItem *deviceItem(const QString &name)
    {
        const QList<QTreeWidgetItem *> found = tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 2);
        return found.size() == 1 ? found.first() : nullptr;
    }
    static TfrmDueDates *window() { return qobject_cast<TfrmDueDates *>(tree()->window()); }
    static QLineEdit *until() { return find<QLineEdit>("editFaelligBis"); }
    // Types a date over the selected text of "bis Datum" and confirms it
    // as given: Enter, or leaving the field with Tab.
    static void typeUntil(const QString &date, const QString &confirm)
    {
        typeWithoutReturn(until(), date);
        QTest::keyClick(until(), confirm == "Enter" ? Qt::Key_Return : Qt::Key_Tab);
    }
    static void chooseHorizon(const QString &text)
    {
        auto *horizon = find<QComboBox>("cbFaelligZeitraum");
        horizon->setCurrentIndex(horizon->findText(text));
    }
};
} // namespace

class TestDueDatesWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void groupedWithCountsAndFilters()
    {
        Running r;
        QVERIFY(r.tree()->isVisible());
        QCOMPARE(r.groups(), QStringList({"Demo-Kunde (2)", "Zweite Firma (2)"}));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 4 fällige Prüflinge"));
        QCOMPARE(r.deviceItem("Mikrowelle")->text(4), QStringLiteral("nie geprüft – überfällig"));
        QCOMPARE(r.deviceItem("Säge")->text(4), QStringLiteral("09.03.2024"));

        r.chooseHorizon("überfällig");
        QCOMPARE(r.groups(), QStringList({"Demo-Kunde (2)", "Zweite Firma (1)"}));

        r.chooseHorizon("in 30 Tagen");
        QTest::keyClicks(r.find<QLineEdit>("editFaelligOrt"), "kel");
        QCOMPARE(r.groups(), QStringList({"Zweite Firma (1)"}));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 1 fällige Prüflinge"));
        r.find<QLineEdit>("editFaelligOrt")->clear();

        auto *customer = r.find<QComboBox>("cbFaelligKunde");
        customer->setCurrentIndex(customer->findText("Demo-Kunde"));
        QCOMPARE(r.groups(), QStringList({"Demo-Kunde (2)"}));
    }

    // The marks follow the list: symbol and text, colour and the reasons.
    void devicesCarryAttentionMarks()
    {
        Running r;
        QTRY_VERIFY(!r.deviceItem("Säge")->text(5).isEmpty());
        QTreeWidgetItem *saw = r.deviceItem("Säge");
        QVERIFY2(saw->text(5).startsWith("F") && saw->text(5).contains("fällig"), qPrintable(saw->text(5)));
        QVERIFY(saw->background(0).color().isValid());
        QVERIFY(saw->toolTip(2).contains("09.03.2024"));
        QVERIFY2(r.deviceItem("Mikrowelle")->text(5).startsWith("!"), qPrintable(r.deviceItem("Mikrowelle")->text(5)));
        QVERIFY(r.deviceItem("Bohrer")->text(5).startsWith("!"));
    }

    void sortsByPlaceWithinCustomer()
    {
        Running r;
        r.tree()->sortByColumn(1, Qt::AscendingOrder);
        QTreeWidgetItem *second = r.tree()->topLevelItem(1);
        QCOMPARE(second->child(0)->text(1), QStringLiteral("Halle"));
        r.tree()->sortByColumn(1, Qt::DescendingOrder);
        second = r.tree()->topLevelItem(0)->text(0).startsWith("Zweite") ? r.tree()->topLevelItem(0) : r.tree()->topLevelItem(1);
        QCOMPARE(second->child(0)->text(1), QStringLiteral("Keller"));
    }

    void enterAndDoubleClickShowTheDevice()
    {
        Running r;
        r.tree()->setCurrentItem(r.deviceItem("Säge"));
        QTest::keyClick(r.tree(), Qt::Key_Return);
        QCOMPARE(frmMain->selectedCustomerId(), std::optional<int>(102));
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("ID")->asInteger(), 2002);

        QTreeWidgetItem *printer = r.deviceItem("Drucker");
        r.tree()->scrollToItem(printer);
        const QPoint at = r.tree()->visualItemRect(printer).center();
        QTest::mouseClick(r.tree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(r.tree()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(frmMain->selectedCustomerId(), std::optional<int>(101));
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("ID")->asInteger(), 1001);
    }

    void untilDateTypedOverTheSelection_data()
    {
        QTest::addColumn<QString>("confirm");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("leaving the field") << "Tab";
    }

    void untilDateTypedOverTheSelection()
    {
        QFETCH(QString, confirm);
        Running r;
        r.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(r.window()));
        r.chooseHorizon("bis Datum");
        QVERIFY(r.until()->isEnabled());
        r.typeUntil("1.3.24", confirm);
        QCOMPARE(r.until()->text(), QStringLiteral("01.03.2024"));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 3 fällige Prüflinge")); // the saw is due on 09.03.2024

        r.typeWithoutReturn(r.until(), "31.12.27");
        QCOMPARE(r.until()->text(), QStringLiteral("31.12.27"));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 3 fällige Prüflinge")); // not taken while typing
        QTest::keyClick(r.until(), confirm == "Enter" ? Qt::Key_Return : Qt::Key_Tab);
        QCOMPARE(r.until()->text(), QStringLiteral("31.12.2027"));
        QCOMPARE(r.window()->reportSelection().dueUntil, QDate(2027, 12, 31));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 4 fällige Prüflinge"));
        QCOMPARE(r.dialogs.messages(), QStringList());
    }

    void unreadableUntilDateIsRefused()
    {
        Running r;
        r.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(r.window()));
        r.chooseHorizon("bis Datum");
        r.typeUntil("1.3.24", "Enter");
        r.typeUntil("31.13.27", "Enter");
        QCOMPARE(r.dialogs.beeps(), 1);
        QCOMPARE(r.dialogs.messages(), QStringList{QStringLiteral("„31.13.27“ ist kein gültiges Datum.")});
        QCOMPARE(r.until()->text(), QStringLiteral("01.03.2024"));
        QCOMPARE(r.window()->reportSelection().dueUntil, QDate(2024, 3, 1));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 3 fällige Prüflinge"));
    }

    void closesByButtonAndEscape()
    {
        Running r;
        QVERIFY(r.window()->isVisible());
        r.click(r.window(), "btnFaelligSchliessen");
        QVERIFY(!r.window()->isVisible());

        r.find<QAction>(frmMain, "Faelligkeiten1")->trigger();
        QVERIFY(r.window()->isVisible());
        r.tree()->setFocus();
        QTest::keyClick(r.tree(), Qt::Key_Escape);
        QVERIFY(!r.window()->isVisible());
    }

    void storedInspectionUpdatesStatusAndList()
    {
        Running r;
        r.tree()->setCurrentItem(r.deviceItem("Bohrer"));
        QTest::keyClick(r.tree(), Qt::Key_Return);
        auto *status = r.find<QLabel>(frmMain, "StatusPanelDue");
        QCOMPARE(status->text(), QStringLiteral("1 überfällig, 1 in 30 Tagen"));
        TDataSet &inspections = frmDM->dsetPruefungen;
        inspections.append();
        inspections.fieldByName("PRUEFER_ID")->setAsInteger(11);
        inspections.fieldByName("PRUEFGERAETE_ID")->setAsInteger(12);
        inspections.post();
        QCOMPARE(status->text(), QStringLiteral("0 überfällig, 1 in 30 Tagen"));
        QCOMPARE(r.total(), QStringLiteral("Gesamt: 3 fällige Prüflinge"));
    }
};

QTEST_MAIN(TestDueDatesWindow)
#include "tst_duedateswindow.moc"

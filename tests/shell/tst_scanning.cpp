// A hand scanner reads a label and types its payload with Enter: into the
// search field (Ctrl+F) or into the device list. The program then shows
// that customer and device, and Enter starts the new inspection. Labels
// are printed for the devices selected in the list.
#include "AppTestMain.h"
#include "LabelDayData.h"
#include "RunningProgram.h"
#include "UEtiketten.h"
#include "UMain.h"
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QComboBox>
#include <QTableView>
#include <QtTest>

namespace {

struct Running : TRunningProgram {
    Running() : TRunningProgram(labelday::changes()) {}
    static QComboBox *customers() { return find<QComboBox>(frmMain, "cbKunden"); }
    static QLineEdit *search() { return find<QLineEdit>(frmMain, "editLocate"); }
    static QTableView *devices() { return find<QTableView>(frmMain, "gridPrueflinge"); }
    static qint64 currentDevice() { return frmDM->dsetPrueflinge.fieldByName("ID")->asInteger(); }
    static void showDemoCustomer()
    {
        customers()->setCurrentIndex(customers()->findData(101));
        frmMain->showPrueflinge();
    }
};

// Types a text as a scanner does, ending with Enter.
void scan(QWidget *into, const QString &text)
{
    QTest::keyClicks(into, text);
    QTest::keyClick(into, Qt::Key_Return);
}

} // namespace

class TestScanning : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void scannedLabelSelectsItsDevice_data()
    {
        QTest::addColumn<QString>("into");
        QTest::addColumn<QString>("before"); // what the search field held
        QTest::newRow("search field after Ctrl+F") << "search" << "Mikro";
        QTest::newRow("search field that still held a text") << "search, no Ctrl+F" << "Mikro";
        QTest::newRow("device list") << "list" << "";
    }
    void scannedLabelSelectsItsDevice()
    {
        QFETCH(QString, into);
        QFETCH(QString, before);
        Running r;
        frmMain->show();
        frmMain->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frmMain));
        Running::showDemoCustomer();
        Running::search()->setText(before);
        QWidget *target = Running::devices();
        if (into.startsWith(u"search")) {
            target = Running::search();
            if (into == u"search") {
                Running::devices()->setFocus();
                QTest::keyClick(frmMain, Qt::Key_F, Qt::ControlModifier);
                QCOMPARE(QApplication::focusWidget(), target);
            } else {
                target->setFocus();
                Running::search()->end(false);
            }
        } else {
            target->setFocus();
        }
        scan(target, labelday::payload(5));
        QCOMPARE(Running::customers()->currentData().toInt(), labelday::kCustomer);
        QCOMPARE(Running::currentDevice(), labelday::deviceId(5));
        QVERIFY(Running::search()->text().isEmpty());
        QVERIFY(r.dialogs.messages().isEmpty());
        // One keystroke on: Enter starts the new inspection of that device.
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("btnNeuePruefung"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(frmDM->dsetPruefungen.state(), TDataSetState::Insert);
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("PRUEFLINGE_ID")->asInteger(), labelday::deviceId(5));
        frmDM->dsetPruefungen.cancel();
    }

    void unknownDeviceIsNamed()
    {
        Running r;
        Running::showDemoCustomer();
        const qint64 before = Running::currentDevice();
        Running::search()->setFocus();
        scan(Running::search(), QStringLiteral("VPP1;K300;G99999;N7"));
        QCOMPARE(r.dialogs.messages(),
                 QStringList{"Das Etikett nennt einen Prüfling, den es in dieser Datenbank nicht gibt (Kunde 300, Prüfling 99999, Nummer 7)."});
        QCOMPARE(Running::customers()->currentData().toInt(), 101);
        QCOMPARE(Running::currentDevice(), before);
    }

    // Ctrl+click selects several devices; "Etiketten..." offers them.
    void labelsForTheSelectedDevices()
    {
        Running r;
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowActive(frmMain));
        Running::customers()->setCurrentIndex(Running::customers()->findData(labelday::kCustomer));
        frmMain->showPrueflinge();
        QTableView *grid = Running::devices();
        TRunningProgram::clickRow(grid, 0);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          grid->visualRect(grid->model()->index(2, 1)).center());
        QString shown;
        bool selectedChosen = false;
        QTimer::singleShot(0, frmMain, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *labels = qobject_cast<TfrmEtiketten *>(w); labels && labels->isVisible()) {
                    shown = TRunningProgram::find<QLabel>(labels, "lblAnzahl")->text();
                    selectedChosen = TRunningProgram::find<QRadioButton>(labels, "rbAusgewaehlt")->isChecked();
                    labels->close();
                }
        });
        TRunningProgram::find<QAction>(frmMain, "Etiketten1")->trigger();
        QVERIFY2(selectedChosen, qPrintable(shown));
        QCOMPARE(shown, QStringLiteral("2 Etiketten auf 1 Seite"));
    }

    // The keys find the device; a number that differs is pointed out.
    void numberThatDiffersIsPointedOut()
    {
        Running r;
        Running::showDemoCustomer();
        Running::search()->setFocus();
        scan(Running::search(), QStringLiteral("VPP1;K300;G3005;N99"));
        QCOMPARE(Running::currentDevice(), labelday::deviceId(5));
        QCOMPARE(r.dialogs.messages(),
                 QStringList{"Auf dem Etikett steht die Nummer 99, gespeichert ist für diesen Prüfling die Nummer 105."});
    }

    void otherTextsStillSearch()
    {
        Running r;
        Running::showDemoCustomer();
        Running::search()->setFocus();
        scan(Running::search(), QStringLiteral("Mikro"));
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Mikrowelle"));
        QVERIFY(r.dialogs.messages().isEmpty());
    }
};

VELMORA_APP_TEST_MAIN(TestScanning)
#include "tst_scanning.moc"

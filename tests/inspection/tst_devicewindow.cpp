#include "AppHome.h"
#include "AppTestMain.h"
#include "DBNavButton.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "UMain.h"
#include "UProgram.h"
#include "UPruefling.h"
#include "ui_UMain.h"
#include "ui_UPruefling.h"
#include <QtTest>

namespace {

// The running program on the demo database; a device of another customer
// and one without a name give the name list more entries.
struct Running {
    TAppHome home;
    TScriptedDialogs dialogs;
    TProgram program;
    Ui::TfrmPruefling *w = nullptr;
    Running()
    {
        home.createDatabase({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')",
                             "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Kaffeemaschine', 1, 12, 102)",
                             "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1101, 2, 12, 102)"});
        TAppHome::setSetting("KundeID", 101);
        TAppHome::setSetting("DefaultIntervallPruefling", 24);
        program.create();
        w = frmPruefling->ui();
    }
    TField *device(const char *name) { return frmDM->dsetPrueflinge.fieldByName(name); }
    void newDevice() { QTest::mouseClick(frmMain->ui()->DBNavButton1, Qt::LeftButton); }
};

} // namespace

class TestDeviceWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void newDeviceAndSymbol()
    {
        Running r;
        QCOMPARE(frmPruefling->FImageLoaded, 1); // Drucker, class I, right after start
        r.newDevice();
        QVERIFY(frmPruefling->isVisible());
        QCOMPARE(frmPruefling->windowTitle(), QStringLiteral("Prüfling"));
        QCOMPARE(frmPruefling->FImageLoaded, -1);
        QVERIFY(r.w->Image1->pixmap().isNull());
        QCOMPARE(r.w->editNummer->text(), QStringLiteral("87"));
        QCOMPARE(r.w->cbPruefinterval->currentText(), QStringLiteral("24"));
        r.w->cbSchutzklasse->setCurrentIndex(1);
        emit r.w->cbSchutzklasse->activated(1);
        QCOMPARE(r.device("SCHUTZKLASSE")->asString(), QStringLiteral("II"));
        QCOMPARE(frmPruefling->FImageLoaded, 2);
        QVERIFY(!r.w->Image1->pixmap().isNull());
    }

    void cableLengthRow()
    {
        Running r;
        QTest::mouseClick(frmMain->ui()->DBNavButton2, Qt::LeftButton); // edit Drucker
        QVERIFY(!r.w->editLaenge->isVisible());
        QTest::mouseClick(r.w->chkLaenge, Qt::LeftButton);
        QVERIFY(r.w->editLaenge->isVisible());
        QCOMPARE(r.w->DbBez1->text(), QStringLiteral("Max."));
        QCOMPARE(r.w->DbGrenzwert0->text(), QStringLiteral("0,30"));
        QCOMPARE(r.w->DbBez2->text(), QStringLiteral("Ohm"));
        r.w->editLaenge->setFocus();
        QTest::keyClicks(r.w->editLaenge, "20");
        QTest::keyClick(r.w->editLaenge, Qt::Key_Return);
        QCOMPARE(r.w->DbGrenzwert0->text(), QStringLiteral("0,50"));
        QTest::mouseClick(r.w->chkLaenge, Qt::LeftButton);
        QVERIFY(!r.w->editLaenge->isVisible());
        QTest::mouseClick(r.w->btnSave, Qt::LeftButton);
        QVERIFY(!frmPruefling->isVisible());
        QVERIFY(r.device("LAENGE")->isNull());
        QCOMPARE(r.device("GRENZWERT0")->displayText(), QStringLiteral("0,30"));
    }

    void nameListOffersAllCustomers()
    {
        Running r;
        r.newDevice();
        QStringList names;
        for (int i = 0; i < r.w->cbBezeichnung->count(); ++i)
            names << r.w->cbBezeichnung->itemText(i);
        QCOMPARE(names, QStringList({"", "Drucker", "Kaffeemaschine", "Mikrowelle"}));
        r.w->cbBezeichnung->setFocus();
        QTest::keyClicks(r.w->cbBezeichnung, "Toaster");
        QTest::mouseClick(r.w->btnSave, Qt::LeftButton);
        QCOMPARE(frmDM->dsetPrueflinge.state(), TDataSetState::Browse);
        QVERIFY(r.w->cbBezeichnung->findText("Toaster") >= 0); // refilled after the post
    }

    void duplicateNumberKeepsWindowOpen()
    {
        Running r;
        r.newDevice();
        r.w->editNummer->setFocus();
        r.w->editNummer->selectAll();
        QTest::keyClicks(r.w->editNummer, "85");
        QTest::mouseClick(r.w->btnSave, Qt::LeftButton);
        QVERIFY(r.dialogs.messages().contains("Nummer '85' ist schon vergeben..."));
        QVERIFY(frmPruefling->isVisible());
        QCOMPARE(frmDM->dsetPrueflinge.state(), TDataSetState::Insert);
        QTest::mouseClick(r.w->BitBtn1, Qt::LeftButton);
        QVERIFY(!frmPruefling->isVisible());
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), 2);
    }

    void closeQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("name");
        QTest::newRow("cancel") << int(IDialogs::Answer::Cancel) << true << "Drucker neu";
        QTest::newRow("no") << int(IDialogs::Answer::No) << false << "Drucker";
        QTest::newRow("yes") << int(IDialogs::Answer::Yes) << false << "Drucker neu";
    }
    void closeQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, open);
        QFETCH(QString, name);
        Running r;
        QTest::mouseClick(frmMain->ui()->DBNavButton2, Qt::LeftButton);
        r.w->cbBezeichnung->setFocus();
        r.w->cbBezeichnung->lineEdit()->selectAll();
        QTest::keyClicks(r.w->cbBezeichnung, "Drucker neu");
        r.dialogs.answers.enqueue(IDialogs::Answer(answer));
        frmPruefling->close();
        QCOMPARE(r.dialogs.messages().last(), QStringLiteral("Daten in Bearbeitung...\r\nSichern?"));
        QCOMPARE(frmPruefling->isVisible(), open);
        QCOMPARE(r.device("BEZEICHNUNG")->asString(), name);
    }
};

VELMORA_APP_TEST_MAIN(TestDeviceWindow)
#include "tst_devicewindow.moc"

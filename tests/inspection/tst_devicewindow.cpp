#include "AppTestMain.h"
#include "DeviceSuggestions.h"
#include "NewDatabase.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPruefling.h"
#include <QComboBox>
#include <QLabel>
#include <QtTest>

namespace {

// The running program on the demo database; a device of another customer
// and one without a name give the name list more entries.
struct Running : TRunningProgram {
    Running()
        : TRunningProgram([](TAppHome &home) {
              home.createDatabase({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')",
                                   "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Kaffeemaschine', 1, 12, 102)",
                                   "INSERT INTO PRUEFLINGE (ID, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1101, 2, 12, 102)"});
              TAppHome::setSetting("KundeID", 101);
              TAppHome::setSetting("DefaultIntervallPruefling", 24);
          })
    {
    }
    TField *device(const char *name) { return frmDM->dsetPrueflinge.fieldByName(name); }
    void newDevice() { click(frmMain, "DBNavButton1"); }
    template<class W = QWidget>
    static W *field(const char *objectName) { return find<W>(frmPruefling, objectName); }
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
        QVERIFY(r.field<QLabel>("Image1")->pixmap().isNull());
        QCOMPARE(r.field<QLineEdit>("editNummer")->text(), QStringLiteral("87"));
        QCOMPARE(r.field<QComboBox>("cbPruefinterval")->currentText(), QStringLiteral("24"));
        r.field<QComboBox>("cbSchutzklasse")->setCurrentIndex(1);
        emit r.field<QComboBox>("cbSchutzklasse")->activated(1);
        QCOMPARE(r.device("SCHUTZKLASSE")->asString(), QStringLiteral("II"));
        QCOMPARE(frmPruefling->FImageLoaded, 2);
        QVERIFY(!r.field<QLabel>("Image1")->pixmap().isNull());
    }

    void cableLengthRow()
    {
        Running r;
        r.click(frmMain, "DBNavButton2"); // edit Drucker
        QVERIFY(!r.field<QLineEdit>("editLaenge")->isVisible());
        r.click(frmPruefling, "chkLaenge");
        QVERIFY(r.field<QLineEdit>("editLaenge")->isVisible());
        QCOMPARE(r.field<QLabel>("DbBez1")->text(), QStringLiteral("Max."));
        QCOMPARE(r.field<QLabel>("DbGrenzwert0")->text(), QStringLiteral("0,30"));
        QCOMPARE(r.field<QLabel>("DbBez2")->text(), QStringLiteral("Ohm"));
        r.field<QLineEdit>("editLaenge")->setFocus();
        QTest::keyClicks(r.field<QLineEdit>("editLaenge"), "20");
        QTest::keyClick(r.field<QLineEdit>("editLaenge"), Qt::Key_Return);
        QCOMPARE(r.field<QLabel>("DbGrenzwert0")->text(), QStringLiteral("0,50"));
        // A length below zero is refused; the length and its limit stay.
        r.field<QLineEdit>("editLaenge")->selectAll();
        QTest::keyClicks(r.field<QLineEdit>("editLaenge"), "-5");
        QTest::keyClick(r.field<QLineEdit>("editLaenge"), Qt::Key_Return);
        QCOMPARE(r.dialogs.messages(), QStringList{QStringLiteral("Eine Leitungslänge kann nicht negativ sein.")});
        QCOMPARE(r.device("LAENGE")->asFloat(), 20.0);
        QCOMPARE(r.field<QLabel>("DbGrenzwert0")->text(), QStringLiteral("0,50"));
        r.click(frmPruefling, "chkLaenge");
        QVERIFY(!r.field<QLineEdit>("editLaenge")->isVisible());
        r.click(frmPruefling, "btnSave");
        QVERIFY(!frmPruefling->isVisible());
        QVERIFY(r.device("LAENGE")->isNull());
        QCOMPARE(r.device("GRENZWERT0")->displayText(), QStringLiteral("0,30"));
    }

    // Each refused number says what is wrong with it, and the device keeps
    // its value.
    void refusedNumberSaysWhy_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative length") << "editLaenge" << "LAENGE" << "-5" << "Eine Leitungslänge kann nicht negativ sein.";
        QTest::newRow("too large") << "editLaenge" << "LAENGE" << "100000000000000000000"
                                   << "„100000000000000000000“ ist zu groß.";
        QTest::newRow("decimal point") << "editLaenge" << "LAENGE" << "0.25"
                                       << "„0.25“ ist keine gültige Zahl. Bitte ein Komma verwenden: 0,25";
        QTest::newRow("fraction in a whole number") << "editNummer" << "NUMMER" << "2,5" << "„2,5“ ist keine ganze Zahl.";
    }
    void refusedNumberSaysWhy()
    {
        QFETCH(QString, control);
        QFETCH(QString, column);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Running r;
        r.click(frmMain, "DBNavButton2"); // edit Drucker
        r.click(frmPruefling, "chkLaenge");
        const QString before = r.device(qPrintable(column))->displayText();
        auto *edit = r.field<QLineEdit>(qPrintable(control));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(r.dialogs.messages(), QStringList{message});
        QCOMPARE(r.device(qPrintable(column))->displayText(), before);
    }

    void nameListOffersAllCustomers()
    {
        Running r;
        r.newDevice();
        QStringList names;
        for (int i = 0; i < r.field<QComboBox>("cbBezeichnung")->count(); ++i)
            names << r.field<QComboBox>("cbBezeichnung")->itemText(i);
        QCOMPARE(names, QStringList({"Drucker", "Kaffeemaschine", "Mikrowelle"})); // no empty name
        r.field<QComboBox>("cbBezeichnung")->setFocus();
        QTest::keyClicks(r.field<QComboBox>("cbBezeichnung"), "Toaster");
        r.click(frmPruefling, "btnSave");
        QCOMPARE(frmDM->dsetPrueflinge.state(), TDataSetState::Browse);
        QVERIFY(r.field<QComboBox>("cbBezeichnung")->findText("Toaster") >= 0); // refilled after the post
    }

    // Another workstation, or this one after its next start, is offered the
    // name and place a saved device brought in.
    void savedDeviceIsSuggestedToNextConnection()
    {
        Running r;
        r.newDevice();
        r.typeWithoutReturn(r.field<QComboBox>("cbBezeichnung")->lineEdit(), "Toaster");
        r.typeWithoutReturn(r.field<QComboBox>("cbOrt")->lineEdit(), "Werkstatt");
        r.click(frmPruefling, "btnSave");
        QCOMPARE(frmDM->dsetPrueflinge.state(), TDataSetState::Browse);

        TDatabase other;
        TTransaction t(&other);
        other.params = connectionParams();
        other.setDatabaseName(r.home.dbPath);
        other.open();
        DeviceSuggestions suggestions;
        QCOMPARE(suggestions.names(other), QStringList({"Drucker", "Kaffeemaschine", "Mikrowelle", "Toaster"}));
        QCOMPARE(suggestions.places(other), QStringList({"Raum 10", "Raum 11", "Werkstatt"}));
    }

    void duplicateNumberKeepsWindowOpen()
    {
        Running r;
        r.newDevice();
        r.field<QLineEdit>("editNummer")->setFocus();
        r.field<QLineEdit>("editNummer")->selectAll();
        QTest::keyClicks(r.field<QLineEdit>("editNummer"), "85");
        r.click(frmPruefling, "btnSave");
        QVERIFY(r.dialogs.messages().contains("Nummer '85' ist schon vergeben..."));
        QVERIFY(frmPruefling->isVisible());
        QCOMPARE(frmDM->dsetPrueflinge.state(), TDataSetState::Insert);
        r.click(frmPruefling, "BitBtn1");
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
        r.click(frmMain, "DBNavButton2");
        r.field<QComboBox>("cbBezeichnung")->setFocus();
        r.field<QComboBox>("cbBezeichnung")->lineEdit()->selectAll();
        QTest::keyClicks(r.field<QComboBox>("cbBezeichnung"), "Drucker neu");
        r.dialogs.answers.enqueue(IDialogs::Answer(answer));
        frmPruefling->close();
        QCOMPARE(r.dialogs.messages().last(), QStringLiteral("Daten in Bearbeitung...\r\nSichern?"));
        QCOMPARE(frmPruefling->isVisible(), open);
        QCOMPARE(r.device("BEZEICHNUNG")->asString(), name);
    }
};

VELMORA_APP_TEST_MAIN(TestDeviceWindow)
#include "tst_devicewindow.moc"

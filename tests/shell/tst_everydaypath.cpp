// The everyday path as a user walks it: device to device, inspection after
// inspection, leaving windows and the program in the middle of an edit,
// connecting later.
#include "AppTestMain.h"
#include "QtDialogs.h"
#include "RunningProgram.h"
#include "UDlgAuftragnehmer.h"
#include "UDlgConnection.h"
#include "UDlgKunden.h"
#include "UMain.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

Q_DECLARE_METATYPE(IDialogs::Answer)

namespace {

using Answer = IDialogs::Answer;
const QString kCloseQuestion = QStringLiteral("Daten in Bearbeitung...\r\nSichern?");

// The demo customer with the printer (two inspections, latest 0,07 Ohm) and
// the microwave, which gets an inspection of its own (0,15 Ohm), and a
// customer without devices.
const QStringList kTwoDevicesWithHistory = {
    "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
    "SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
    "VALUES (500, '2025-05-02 08:00', '2026-05-02', 11, 12, 1002, 1, 0.15, 1, 1)",
    "INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Leerer Kunde')"};

const QDateTime kToday(QDate(2026, 12, 10), QTime(9, 30));

struct Program : TRunningProgram {
    explicit Program(const QStringList &changes = kTwoDevicesWithHistory) : TRunningProgram(changes, kToday) {}
    void chooseDevice(int row) { clickRow(find<QAbstractItemView>(frmMain, "gridPrueflinge"), row); }
    void chooseCustomer(const QString &name)
    {
        auto *customers = find<QComboBox>(frmMain, "cbKunden");
        const int index = customers->findText(name);
        customers->setCurrentIndex(index);
        emit customers->activated(index);
    }
    QString comparedResistance() { return find<QLabel>(frmPruefung, "DbVorher_SCHUTZLEITWIDERSTAND")->text(); }
    qint64 inspectionsOf(int deviceId) { return scalar(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = %1").arg(deviceId)); }
    void typeDeviceName(const QString &name) { typeWithoutReturn(find<QComboBox>(frmPruefling, "cbBezeichnung")->lineEdit(), name); }
    QLineEdit *inspectionField(const char *name) { return find<QLineEdit>(frmPruefung, name); }
};

} // namespace

class TestEverydayPath : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The comparison column follows the device list and every saved or
    // deleted inspection.
    void comparisonFollowsDevicesAndSaves()
    {
        Program p;
        p.chooseDevice(1); // Mikrowelle
        p.chooseDevice(0); // back to the printer
        p.click(frmMain, "btnNeuePruefung");
        QCOMPARE(p.find<QLabel>(frmPruefung, "Label9")->text(), QStringLiteral("Letzte Messung"));
        QCOMPARE(p.comparedResistance(), QStringLiteral("0,07"));
        p.click(frmPruefung, "btnCopy");
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("SCHUTZLEITWIDERSTAND")->asFloat(), 0.07);
        p.type(p.inspectionField("editSchutzleitwiderstand"), "0,12");
        p.click(frmPruefung, "btnSave");
        QCOMPARE(p.inspectionsOf(1001), 3);

        // The next inspection compares with the one just saved.
        p.click(frmMain, "btnNeuePruefung");
        QCOMPARE(p.comparedResistance(), QStringLiteral("0,12"));
        p.click(frmPruefung, "btnCancel");

        // Deleting the newest brings the one before back.
        frmDM->dsetPruefungen.first();
        p.click(frmMain, "btnPruefungLoeschen");
        QCOMPARE(p.inspectionsOf(1001), 2);
        p.click(frmMain, "btnNeuePruefung");
        QCOMPARE(p.comparedResistance(), QStringLiteral("0,07"));
        p.click(frmPruefung, "btnCancel");

        // The other device compares with its own history.
        p.chooseDevice(1);
        p.click(frmMain, "btnNeuePruefung");
        QCOMPARE(p.comparedResistance(), QStringLiteral("0,15"));
        p.click(frmPruefung, "btnCancel");
    }

    // Editing an existing inspection compares with the one before it.
    void editingComparesWithTheInspectionBefore()
    {
        Program p;
        p.chooseDevice(1);
        p.chooseDevice(0);
        frmDM->dsetPruefungen.first();
        p.click(frmMain, "btnPruefungBearbeiten");
        QCOMPARE(p.find<QLabel>(frmPruefung, "Label9")->text(), QStringLiteral("Vorherige Messung"));
        QCOMPARE(p.comparedResistance(), QStringLiteral("0,06"));
        p.click(frmPruefung, "btnCancel");
    }

    // A device stored with a raised limit and no length: unticking the cable
    // box brings the limit back to 0,30, and the verdicts follow it.
    void untickedCableBoxResetsTheLimit()
    {
        Program p({"UPDATE PRUEFLINGE SET VARIABEL = 1, LAENGE = NULL, GRENZWERT0 = 0.80 WHERE ID = 1001"});
        p.click(frmMain, "DBNavButton2"); // "Prüfling bearbeiten"
        QVERIFY(frmPruefling->isVisible());
        QVERIFY(p.find<QCheckBox>(frmPruefling, "chkLaenge")->isChecked());
        p.click(frmPruefling, "chkLaenge");
        p.click(frmPruefling, "btnSave");
        QCOMPARE(p.text("SELECT VARIABEL FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("0"));
        QCOMPARE(p.text("SELECT LAENGE FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("<null>"));
        QCOMPARE(p.text("SELECT GRENZWERT0 FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("0.3"));

        p.click(frmMain, "btnNeuePruefung");
        p.type(p.inspectionField("editSchutzleitwiderstand"), "0,80");
        QCOMPARE(p.find<QCheckBox>(frmPruefung, "chkSchutzleitwiderstand")->checkState(), Qt::Unchecked);
        p.click(frmPruefung, "btnCancel");
    }

    // A two-digit year means the century nearest to today.
    void twoDigitYears_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("next year") << "1.3.27" << QDate(2027, 3, 1) << "01.03.2027";
        QTest::newRow("last century") << "1.3.98" << QDate(1998, 3, 1) << "01.03.1998";
        QTest::newRow("two-digit day and month") << "15.06.30" << QDate(2030, 6, 15) << "15.06.2030";
        QTest::newRow("four digits stay") << "1.3.1927" << QDate(1927, 3, 1) << "01.03.1927";
    }
    void twoDigitYears()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, stored);
        QFETCH(QString, shown);
        Program p;
        p.click(frmMain, "btnNeuePruefung");
        p.type(p.inspectionField("editNextPruefdatum"), typed);
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("NEXT_PRUEFDATUM")->asDateTime().date(), stored);
        p.inspectionField("editSchutzleitwiderstand")->setFocus();
        QVERIFY(p.inspectionField("editNextPruefdatum")->text().startsWith(shown));
        p.click(frmPruefung, "btnCancel");
    }

    // A device number has no places: a fraction is refused by the field.
    void fractionalDeviceNumberIsRefused()
    {
        Program p;
        p.click(frmMain, "DBNavButton1"); // "Neuer Prüfling"
        p.typeDeviceName("Bohrmaschine");
        p.type(p.find<QLineEdit>(frmPruefling, "editNummer"), "12,5");
        QCOMPARE(p.dialogs.messages(), QStringList{"\u201E12,5\u201C ist keine ganze Zahl."});
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("NUMMER")->asString(), QStringLiteral("87"));
        p.click(frmPruefling, "BitBtn1");
    }

    // The proposal is exact up to the largest number and empty beyond it.
    void nextNumberNearTheMaximum_data()
    {
        QTest::addColumn<QString>("largest");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("sixteen digits") << "1000000000000000" << "1000000000000001";
        QTest::newRow("eighteen digits") << "999999999999999998" << "999999999999999999";
        QTest::newRow("maximum reached") << "999999999999999999" << "";
    }
    void nextNumberNearTheMaximum()
    {
        QFETCH(QString, largest);
        QFETCH(QString, proposed);
        Program p({"UPDATE PRUEFLINGE SET NUMMER = " + largest + " WHERE ID = 1002"});
        p.click(frmMain, "DBNavButton1");
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("NUMMER")->asString(), proposed);
        p.click(frmPruefling, "BitBtn1");
    }

    // Enter in the real question box keeps the window open.
    void enterAtTheCloseQuestionCancels()
    {
        TQtDialogs qt;
        QString defaultText;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            defaultText = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(qt.ask(kCloseQuestion, IDialogs::Buttons::YesNoCancel), Answer::Cancel);
        QCOMPARE(defaultText, QStringLiteral("Abbrechen"));
    }

    // Closing the program asks about each edit still open; Cancel keeps the
    // program and the edit, Yes stores it, No drops it.
    void quittingAsksAboutOpenEdits_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<qint64>("devicesStored");
        QTest::newRow("Abbrechen") << Answer::Cancel << false << qint64(2);
        QTest::newRow("Ja") << Answer::Yes << true << qint64(3);
        QTest::newRow("Nein") << Answer::No << true << qint64(2);
    }
    void quittingAsksAboutOpenEdits()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, closed);
        QFETCH(qint64, devicesStored);
        Program p;
        frmMain->show();
        p.click(frmMain, "DBNavButton1");
        p.typeDeviceName("Bohrmaschine");
        p.dialogs.answers.enqueue(answer);
        QCOMPARE(frmMain->close(), closed);
        QCOMPARE(p.dialogs.messages(), QStringList{kCloseQuestion});
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = 101"), devicesStored);
        if (!closed) {
            QVERIFY(frmMain->isVisible());
            QCOMPARE(frmDM->dsetPrueflinge.state(), TDataSetState::Insert);
            QCOMPARE(p.find<QComboBox>(frmPruefling, "cbBezeichnung")->currentText(), QStringLiteral("Bohrmaschine"));
        }
    }

    // The same question before every command that closes the connection.
    void disconnectingAsksAboutOpenEdits_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Trennen") << "Trennen";
        QTest::newRow("Verbinden") << "Verbinden";
        QTest::newRow("Verbindung OK") << "Verbindung OK";
    }
    void disconnectingAsksAboutOpenEdits()
    {
        QFETCH(QString, command);
        Program p;
        dlgKunden->show();
        p.type(p.find<QLineEdit>(dlgKunden, "editName"), "Demo-Kunde GmbH");
        QCOMPARE(frmDM->dsetKunden.state(), TDataSetState::Edit);

        const auto run = [&] {
            if (command == "Trennen")
                p.find<QAction>(frmMain, "Trennen1")->trigger();
            else if (command == "Verbinden")
                p.find<QAction>(frmMain, "Verbinden1")->trigger();
            else {
                TdlgDbConnection dialog(frmMain);
                dialog.btnOKClick();
            }
        };
        p.dialogs.answers.enqueue(Answer::Cancel);
        run();
        QCOMPARE(p.dialogs.messages(), QStringList{kCloseQuestion});
        QVERIFY(frmDM->Database.connected());
        QCOMPARE(frmDM->dsetKunden.state(), TDataSetState::Edit);
        QCOMPARE(p.find<QLineEdit>(dlgKunden, "editName")->text(), QStringLiteral("Demo-Kunde GmbH"));

        p.dialogs.answers.enqueue(Answer::Yes);
        run();
        if (command == "Trennen")
            p.find<QAction>(frmMain, "Verbinden1")->trigger();
        QVERIFY(frmDM->Database.connected());
        QCOMPARE(p.text("SELECT NAME FROM KUNDEN WHERE ID = 101"), QStringLiteral("Demo-Kunde GmbH"));
    }

    // A second "Neuer Prüfling" or "Neue Prüfung" asks about the unfinished one.
    void secondNewRecordAsks_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<bool>("stillTheFirst");
        QTest::newRow("device, Abbrechen") << "device" << Answer::Cancel << qint64(2) << true;
        QTest::newRow("device, Ja") << "device" << Answer::Yes << qint64(3) << false;
        QTest::newRow("device, Nein") << "device" << Answer::No << qint64(2) << false;
        QTest::newRow("inspection, Abbrechen") << "inspection" << Answer::Cancel << qint64(2) << true;
        QTest::newRow("inspection, Ja") << "inspection" << Answer::Yes << qint64(3) << false;
        QTest::newRow("inspection, Nein") << "inspection" << Answer::No << qint64(2) << false;
    }
    void secondNewRecordAsks()
    {
        QFETCH(QString, list);
        QFETCH(Answer, answer);
        QFETCH(qint64, stored);
        QFETCH(bool, stillTheFirst);
        Program p;
        const bool device = list == "device";
        QAbstractButton *newButton = device ? p.find<QAbstractButton>(frmMain, "DBNavButton1") : p.find<QAbstractButton>(frmMain, "btnNeuePruefung");
        TDataSet &records = device ? frmDM->dsetPrueflinge : frmDM->dsetPruefungen;
        const QString count = device ? "SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = 101"
                                     : "SELECT COUNT(*) FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = 1001";
        p.click(newButton);
        if (device)
            p.typeDeviceName("Bohrmaschine");
        else
            p.type(p.inspectionField("editSchutzleitwiderstand"), "0,11");
        const QVariant firstKey = records.fieldByName("ID")->asInteger();

        p.dialogs.answers.enqueue(answer);
        p.click(newButton);
        QCOMPARE(p.dialogs.messages(), QStringList{kCloseQuestion});
        QCOMPARE(p.scalar(count), stored);
        QCOMPARE(records.state(), TDataSetState::Insert);
        QCOMPARE(records.fieldByName("ID")->asInteger() == firstKey.toLongLong(), stillTheFirst);
        records.cancel();
    }

    // The inspection commands need a device, the others an inspection.
    void inspectionCommandsFollowTheCurrentRows()
    {
        Program p({"DELETE FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = 1002", "INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Leerer Kunde')"});
        const auto enabled = [&] {
            return QList<bool>{p.find<QAbstractButton>(frmMain, "btnNeuePruefung")->isEnabled(), p.find<QAbstractButton>(frmMain, "btnPruefungBearbeiten")->isEnabled(),
                               p.find<QAbstractButton>(frmMain, "btnPruefungLoeschen")->isEnabled(), p.find<QAbstractButton>(frmMain, "btnBerichtErzeugen")->isEnabled()};
        };
        QCOMPARE(enabled(), (QList<bool>{true, true, true, true}));
        p.chooseDevice(1); // the microwave, never inspected
        QCOMPARE(enabled(), (QList<bool>{true, false, false, false}));
        p.chooseCustomer("Leerer Kunde");
        QCOMPARE(enabled(), (QList<bool>{false, false, false, false}));
        p.chooseCustomer("Demo-Kunde");
        QCOMPARE(enabled(), (QList<bool>{true, true, true, true}));
    }

    // Menus follow every connect and disconnect, not only the first.
    void menusFollowTheConnection()
    {
        TRunningProgram p(TRunningProgram::NoDatabase{});
        const auto enabled = [&] {
            return QList<bool>{p.find<QMenu>(frmMain, "Bearbeiten1")->isEnabled(), p.find<QAction>(frmMain, "Verbinden1")->isEnabled(),
                               p.find<QAction>(frmMain, "Trennen1")->isEnabled(), p.find<QAction>(frmMain, "Backup1")->isEnabled(),
                               p.find<QAction>(frmMain, "Neu1")->isEnabled(), p.find<QAction>(frmMain, "Verbindung1")->isEnabled()};
        };
        QCOMPARE(enabled(), (QList<bool>{false, false, false, false, true, true}));

        p.home.createDatabase();
        TdlgDbConnection dialog(frmMain);
        dialog.btnOKClick();
        QVERIFY(frmDM->Database.connected());
        QCOMPARE(p.find<QComboBox>(frmMain, "cbKunden")->currentText(), QStringLiteral("Demo-Kunde"));
        QCOMPARE(enabled(), (QList<bool>{true, true, true, true, true, true}));

        p.find<QAction>(frmMain, "Trennen1")->trigger();
        QCOMPARE(enabled(), (QList<bool>{false, true, false, false, true, true}));
        p.find<QAction>(frmMain, "Verbinden1")->trigger();
        QCOMPARE(enabled(), (QList<bool>{true, true, true, true, true, true}));
    }

    // Without a contractor row the dialog takes the first contractor.
    void contractorWithoutRow()
    {
        Program p({"DELETE FROM AUFTRAGNEHMER"});
        dlgAuftragnehmer->show();
        p.type(p.find<QLineEdit>(dlgAuftragnehmer, "editName"), "Elektro Berger");
        p.click(dlgAuftragnehmer, "btnSichern");
        QCOMPARE(p.dialogs.messages(), QStringList());
        QCOMPARE(p.text("SELECT NAME FROM AUFTRAGNEHMER"), QStringLiteral("Elektro Berger"));
        dlgAuftragnehmer->close();
        QVERIFY(!dlgAuftragnehmer->isVisible());
    }

    // Closing the empty contractor dialog without typing asks nothing.
    void contractorDialogClosesUntouched()
    {
        Program p({"DELETE FROM AUFTRAGNEHMER"});
        dlgAuftragnehmer->show();
        dlgAuftragnehmer->close();
        QVERIFY(!dlgAuftragnehmer->isVisible());
        QCOMPARE(p.dialogs.messages(), QStringList());
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM AUFTRAGNEHMER"), 0);
    }

    // The device panel keeps showing the device while an inspection is edited.
    void devicePanelStaysWhileInspecting()
    {
        Program p;
        frmMain->show();
        p.click(frmMain, "btnNeuePruefung");
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(p.find<QLineEdit>(frmMain, "editBezeichnung")->text(), QStringLiteral("Drucker"));
        QCOMPARE(p.find<QLineEdit>(frmMain, "editNummer")->text(), QStringLiteral("85"));
        QCOMPARE(p.find<QLineEdit>(frmMain, "editSchutzklasse")->text(), QStringLiteral("I"));
        QCOMPARE(p.find<QLineEdit>(frmMain, "editPruefinterval")->text(), QStringLiteral("12"));
        p.click(frmPruefung, "btnCancel");
    }
};

VELMORA_APP_TEST_MAIN(TestEverydayPath)
#include "tst_everydaypath.moc"

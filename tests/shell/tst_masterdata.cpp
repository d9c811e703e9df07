#include "AppTestMain.h"
#include "RequiredFields.h"
#include "RunningProgram.h"
#include "UDlgAuftragnehmer.h"
#include "UDlgKunden.h"
#include "UDlgPruefer.h"
#include "UDlgPruefgeraet.h"
#include "UMain.h"
#include <QCheckBox>
#include <QComboBox>
#include <QTableView>
#include <QtTest>

namespace {

// The running program on the demo database with three more customers.
const QStringList kMoreCustomers = {"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Zahn')",
                                    "INSERT INTO KUNDEN (ID, NAME) VALUES (103, 'bergmann')",
                                    "INSERT INTO KUNDEN (ID, NAME) VALUES (104, 'Bauer')"};

struct Running : TRunningProgram {
    explicit Running(const QStringList &changes = {}) : TRunningProgram(kMoreCustomers + changes) {}
    QStringList column(QAbstractItemModel *model, int c = 0)
    {
        QStringList values;
        for (int r = 0; r < model->rowCount(); ++r)
            values << model->index(r, c).data().toString();
        return values;
    }
    static QComboBox *customers() { return find<QComboBox>(frmMain, "cbKunden"); }
    static QStringList customerChoice()
    {
        QStringList names;
        for (int i = 0; i < customers()->count(); ++i)
            names << customers()->itemText(i);
        return names;
    }
};

// A master-data dialog with the record set it edits and that set's table.
struct MasterDialog {
    QDialog *window;
    TDataSet *set;
    QString table;
};

MasterDialog masterDialog(const QString &name)
{
    if (name == "Kunden")
        return {dlgKunden, &frmDM->dsetKunden, "KUNDEN"};
    if (name == "Geraete")
        return {dlgPruefgeraete, &frmDM->dsetPruefgeraete, "PRUEFGERAETE"};
    if (name == "Pruefer")
        return {dlgPruefer, &frmDM->dsetPruefer, "PRUEFER"};
    return {dlgAuftragnehmer, &frmDM->dsetAuftragnehmer, "AUFTRAGNEHMER"};
}

} // namespace

class TestMasterData : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void customerOrders()
    {
        Running r;
        dlgKunden->show();
        QCOMPARE(r.column(r.find<QTableView>(dlgKunden, "gridKunden")->model()),
                 QStringList({"Bauer", "Demo-Kunde", "Zahn", "bergmann"})); // byte order of the character set
        QStringList titles;
        for (int c = 0; c < 4; ++c)
            titles << r.find<QTableView>(dlgKunden, "gridKunden")->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"Name", "Straße", "PLZ", "Ort"}));
    }

    void deletingCustomerWithDevicesIsRefused()
    {
        Running r;
        TDataSet &kunden = frmDM->dsetKunden;
        QVERIFY(kunden.locate("ID", qint64(101)));
        r.click(dlgKunden, "btnLoeschen");
        QCOMPARE(r.dialogs.messages(), QStringList({"Es sind noch Prüflinge für den Kunden definiert.\rLöschen Sie zuerst die Prüflinge."}));
        QCOMPARE(kunden.recordCount(), 4);
        QVERIFY(kunden.locate("ID", qint64(102)));
        r.customers()->setCurrentIndex(2);
        r.click(dlgKunden, "btnLoeschen");
        QCOMPARE(kunden.recordCount(), 3);
        QCOMPARE(r.customers()->count(), 3);
        QCOMPARE(r.customers()->currentIndex(), 0); // reloaded: the first customer
    }

    void editingStreetReloadsMainList()
    {
        Running r;
        dlgKunden->show();
        r.customers()->setCurrentIndex(3);
        QVERIFY(frmDM->dsetKunden.locate("ID", qint64(102)));
        r.click(dlgKunden, "btnAendern");
        r.typeWithoutReturn(r.find<QLineEdit>(dlgKunden, "editStrasse"), "Hauptstraße 1");
        r.click(dlgKunden, "btnSichern");
        QCOMPARE(frmDM->dsetKunden.fieldByName("STRASSE")->asString(), QStringLiteral("Hauptstraße 1"));
        QCOMPARE(r.customers()->currentText(), QStringLiteral("Bauer"));
    }

    void newCustomerWithoutNameIsRefused()
    {
        Running r;
        dlgKunden->show();
        r.click(dlgKunden, "btnNeu");
        QCOMPARE(frmDM->dsetKunden.state(), TDataSetState::Insert);
        QCOMPARE(frmDM->dsetKunden.fieldByName("ID")->asInteger(), qint64(102)); // first free key after the seed rows
        r.click(dlgKunden, "btnSichern");
        QCOMPARE(r.dialogs.messages(), QStringList{"„Name“ muss ausgefüllt sein."});
        QCOMPARE(frmDM->dsetKunden.state(), TDataSetState::Insert);
    }

    // "Neu" puts the cursor into the first field the row cannot be stored
    // without; saving with a required field empty names it in German, keeps
    // what was typed and puts the cursor there, and stores nothing.
    void requiredFieldLeftEmpty_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QStringList>("typed"); // object name, text, ...
        QTest::addColumn<QString>("missing");   // the empty field's box
        QTest::addColumn<QString>("message");
        const QString name = "„Name“ muss ausgefüllt sein.";
        QTest::newRow("customer") << "Kunden" << true << QStringList{"editOrt", "Bonn"} << "editName" << name;
        QTest::newRow("inspector") << "Pruefer" << true << QStringList{} << "editName" << name;
        QTest::newRow("instrument without name")
            << "Geraete" << true << QStringList{"editBezeichnung", "Installationstester", "editSeriennummer", "S-4711"}
            << "editName" << name;
        QTest::newRow("instrument without serial number")
            << "Geraete" << true << QStringList{"editName", "Mess 02", "editBezeichnung", "Installationstester"}
            << "editSeriennummer" << "„Seriennummer“ muss ausgefüllt sein.";
        QTest::newRow("instrument with a blank name")
            << "Geraete" << true << QStringList{"editName", "   ", "editBezeichnung", "Installationstester", "editSeriennummer", "S-4711"}
            << "editName" << name;
        QTest::newRow("contractor without name") << "Auftragnehmer" << false << QStringList{"editOrt", "Bonn"} << "editName" << name;
    }
    void requiredFieldLeftEmpty()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, neu);
        QFETCH(QStringList, typed);
        QFETCH(QString, missing);
        QFETCH(QString, message);
        Running r;
        const MasterDialog d = masterDialog(dialog);
        const qint64 rows = r.scalar("SELECT COUNT(*) FROM " + d.table);
        const QString firm = r.text("SELECT NAME FROM AUFTRAGNEHMER");
        d.window->show();
        QLineEdit *nameBox = r.find<QLineEdit>(d.window, "editName");
        if (neu) {
            r.click(d.window, "btnNeu");
            QCOMPARE(d.window->focusWidget(), nameBox);
        } else {
            r.typeWithoutReturn(nameBox, "x");
            QTest::keyClick(nameBox, Qt::Key_Backspace); // the firm's name typed away
        }
        for (int i = 0; i + 1 < typed.size(); i += 2)
            r.typeWithoutReturn(r.find<QLineEdit>(d.window, qPrintable(typed[i])), typed[i + 1]);
        r.click(d.window, "btnSichern");
        QCOMPARE(r.dialogs.messages(), QStringList{message});
        QCOMPARE(r.dialogs.beeps(), 1);
        QCOMPARE(d.set->state(), neu ? TDataSetState::Insert : TDataSetState::Edit);
        for (int i = 0; i + 1 < typed.size(); i += 2)
            QCOMPARE(r.find<QLineEdit>(d.window, qPrintable(typed[i]))->text(), typed[i + 1]);
        QCOMPARE(d.window->focusWidget(), r.find<QLineEdit>(d.window, qPrintable(missing)));
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM " + d.table), rows);
        QCOMPARE(r.text("SELECT NAME FROM AUFTRAGNEHMER"), firm);
    }

    // The declared required fields are the columns the schema holds NOT
    // NULL without a default, but the key the program draws itself.
    void requiredFieldsFollowTheSchema_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char *dialog : {"Kunden", "Pruefer", "Geraete", "Auftragnehmer"})
            QTest::newRow(dialog) << dialog;
    }
    void requiredFieldsFollowTheSchema()
    {
        QFETCH(QString, dialog);
        Running r;
        const MasterDialog d = masterDialog(dialog);
        TQuery q(&frmDM->Database);
        q.setSql("SELECT TRIM(rf.RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                 "WHERE rf.RDB$RELATION_NAME = :T AND (rf.RDB$NULL_FLAG = 1 OR f.RDB$NULL_FLAG = 1) "
                 "AND rf.RDB$DEFAULT_SOURCE IS NULL AND f.RDB$DEFAULT_SOURCE IS NULL AND rf.RDB$FIELD_NAME <> 'ID' "
                 "ORDER BY rf.RDB$FIELD_POSITION");
        q.paramByName("T").setAsString(d.table);
        QStringList schema;
        for (q.execQuery(); !q.eof(); q.next())
            schema << q.asString(0);
        q.close();
        QVERIFY(RequiredFields::of(*d.set));
        QCOMPARE(RequiredFields::of(*d.set)->fieldNames(), schema);
    }

    // An inactive customer leaves the main window's choice and keeps its
    // devices and inspections; set active again, it is back.
    void inactiveCustomerLeavesTheChoice()
    {
        Running r;
        const qint64 devices = r.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = 101");
        const qint64 inspections = r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN");
        QVERIFY(devices > 0);
        QVERIFY(r.customerChoice().contains("Demo-Kunde"));
        dlgKunden->show();
        QVERIFY(frmDM->dsetKunden.locate("ID", qint64(101)));
        auto *aktiv = r.find<QCheckBox>(dlgKunden, "chkAktiv");
        QVERIFY(aktiv->isChecked());
        QTest::mouseClick(aktiv, Qt::LeftButton, {}, QPoint(6, aktiv->height() / 2)); // on the box itself
        r.click(dlgKunden, "btnSichern");
        QCOMPARE(r.scalar("SELECT AKTIV FROM KUNDEN WHERE ID = 101"), qint64(0));
        QCOMPARE(r.customerChoice(), QStringList({"Bauer", "bergmann", "Zahn"}));
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = 101"), devices);
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), inspections);
        QCOMPARE(r.find<QTableView>(dlgKunden, "gridKunden")->model()->rowCount(), 4); // the dialog keeps it

        QVERIFY(frmDM->dsetKunden.locate("ID", qint64(101)));
        QVERIFY(!aktiv->isChecked());
        QTest::mouseClick(aktiv, Qt::LeftButton, {}, QPoint(6, aktiv->height() / 2)); // on the box itself
        r.click(dlgKunden, "btnSichern");
        QCOMPARE(r.customerChoice(), QStringList({"Bauer", "bergmann", "Demo-Kunde", "Zahn"}));
    }

    void closingInTheMiddleOfAnEdit_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("open");
        QTest::addColumn<TDataSetState>("state");
        QTest::newRow("customers, cancel") << "Kunden" << int(IDialogs::Answer::Cancel) << true << true << TDataSetState::Edit;
        QTest::newRow("customers, no") << "Kunden" << int(IDialogs::Answer::No) << true << false << TDataSetState::Browse;
        QTest::newRow("instruments, yes") << "Geraete" << int(IDialogs::Answer::Yes) << true << false << TDataSetState::Browse;
        QTest::newRow("inspectors ask nothing") << "Pruefer" << int(IDialogs::Answer::No) << false << false << TDataSetState::Edit;
        QTest::newRow("contractor, cancel") << "Auftragnehmer" << int(IDialogs::Answer::Cancel) << true << true << TDataSetState::Edit;
    }
    void closingInTheMiddleOfAnEdit()
    {
        QFETCH(QString, dialog);
        QFETCH(int, answer);
        QFETCH(bool, asks);
        QFETCH(bool, open);
        QFETCH(TDataSetState, state);
        Running r;
        const MasterDialog d = masterDialog(dialog);
        QDialog *window = d.window;
        TDataSet *set = d.set;
        auto *name = r.find<QLineEdit>(window, "editName");
        window->show();
        r.typeWithoutReturn(name, "Neuer Name");
        QCOMPARE(set->state(), TDataSetState::Edit);
        r.dialogs.answers.enqueue(IDialogs::Answer(answer));
        window->close();
        QCOMPARE(r.dialogs.messages().contains("Daten in Bearbeitung...\r\nSichern?"), asks);
        QCOMPARE(window->isVisible(), open);
        QCOMPARE(set->state(), state);
    }

    void contractorPostcodeAndTown_data()
    {
        QTest::addColumn<QString>("plz");
        QTest::addColumn<QString>("ort");
        QTest::addColumn<QString>("plzOrt");
        QTest::newRow("no town") << "12345" << "" << "12345 ";
        QTest::newRow("no postcode") << "" << "Köln" << " Köln";
    }
    void contractorPostcodeAndTown()
    {
        QFETCH(QString, plz);
        QFETCH(QString, ort);
        QFETCH(QString, plzOrt);
        Running r;
        TDataSet &d = frmDM->dsetAuftragnehmer;
        d.edit();
        d.fieldByName("PLZ")->setAsString(plz);
        d.fieldByName("ORT")->setAsString(ort);
        d.post();
        QCOMPARE(d.fieldByName("PlzOrt")->asString(), plzOrt);
    }

    // The short name for labels is typed in the contractor dialog and stored.
    void contractorShortName()
    {
        Running r;
        dlgAuftragnehmer->show();
        TRunningProgram::typeWithoutReturn(r.find<QLineEdit>(dlgAuftragnehmer, "editKurzname"), QStringLiteral("EJ Pruefdienst"));
        r.click(dlgAuftragnehmer, "btnSichern");
        QCOMPARE(r.text("SELECT KURZNAME FROM AUFTRAGNEHMER"), QStringLiteral("EJ Pruefdienst"));
        dlgAuftragnehmer->close();
    }

    void deletingInspectorOrInstrumentWithInspectionsIsRefused_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("inspector") << "Pruefer" << "Es sind noch Prüfungen mit diesem Prüfer gespeichert.";
        QTest::newRow("instrument") << "Pruefgeraet" << "Es sind noch Prüfungen mit diesem Prüfgerät gespeichert.";
    }
    void deletingInspectorOrInstrumentWithInspectionsIsRefused()
    {
        QFETCH(QString, which);
        QFETCH(QString, refusal);
        Running r({"INSERT INTO PRUEFER (ID, NAME) VALUES (12, 'Ohne Prüfungen')",
                   "INSERT INTO PRUEFGERAETE (ID, NAME, BEZEICHNUNG, SERIENNUMMER) VALUES (13, 'Neu', 'Ohne Prüfungen', 'B1')"});
        QDialog *dialog = which == "Pruefer" ? static_cast<QDialog *>(dlgPruefer) : dlgPruefgeraete;
        QTableView *grid = which == "Pruefer" ? r.find<QTableView>(dlgPruefer, "gridPruefer")
                                              : r.find<QTableView>(dlgPruefgeraete, "gridPruefgeraete");
        TDataSet &records = which == "Pruefer" ? frmDM->dsetPruefer : frmDM->dsetPruefgeraete;
        dialog->show();
        // 11 is the demo inspector, 12 the instrument of both demo inspections.
        QVERIFY(records.locate("ID", qint64(which == "Pruefer" ? 11 : 12)));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(r.dialogs.messages(), QStringList({refusal})); // refused before any question
        QCOMPARE(r.dialogs.beeps(), 1);
        TQuery q(&frmDM->Database);
        q.setSql("SELECT COUNT(*) FROM PRUEFUNGEN");
        q.execQuery();
        QCOMPARE(q.asInteger(0), qint64(2));
        q.close();
        // One without inspections goes.
        r.dialogs.clear();
        QVERIFY(records.locate("ID", qint64(which == "Pruefer" ? 12 : 13)));
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(r.dialogs.messages(), QStringList{"Datensatz löschen?"});
        QVERIFY(!records.locate("ID", qint64(which == "Pruefer" ? 12 : 13)));
    }
};

VELMORA_APP_TEST_MAIN(TestMasterData)
#include "tst_masterdata.moc"

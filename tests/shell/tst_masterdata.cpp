#include "AppTestMain.h"
#include "RunningProgram.h"
#include "UDlgAuftragnehmer.h"
#include "UDlgKunden.h"
#include "UDlgPruefer.h"
#include "UDlgPruefgeraet.h"
#include "UMain.h"
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
};

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
        QCOMPARE(titles, QStringList({"Name", "Straße", "Plz", "Ort"}));
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

    void customerWithoutNameIsRefusedByDatabase()
    {
        Running r;
        dlgKunden->show();
        r.click(dlgKunden, "btnNeu");
        QCOMPARE(frmDM->dsetKunden.state(), TDataSetState::Insert);
        QCOMPARE(frmDM->dsetKunden.fieldByName("ID")->asInteger(), qint64(102)); // first free key after the seed rows
        r.click(dlgKunden, "btnSichern");
        QCOMPARE(r.dialogs.messages().size(), 1);
        QVERIFY2(r.dialogs.messages().first().contains("NAME"), qPrintable(r.dialogs.messages().first()));
        QCOMPARE(frmDM->dsetKunden.state(), TDataSetState::Insert);
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
        QDialog *window = nullptr;
        TDataSet *set = nullptr;
        QLineEdit *name = nullptr;
        if (dialog == "Kunden")
            window = dlgKunden, set = &frmDM->dsetKunden, name = r.find<QLineEdit>(dlgKunden, "editName");
        else if (dialog == "Geraete")
            window = dlgPruefgeraete, set = &frmDM->dsetPruefgeraete, name = r.find<QLineEdit>(dlgPruefgeraete, "editName");
        else if (dialog == "Pruefer")
            window = dlgPruefer, set = &frmDM->dsetPruefer, name = r.find<QLineEdit>(dlgPruefer, "editName");
        else
            window = dlgAuftragnehmer, set = &frmDM->dsetAuftragnehmer, name = r.find<QLineEdit>(dlgAuftragnehmer, "editName");
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
        QCOMPARE(r.dialogs.messages(), QStringList({"Datensatz löschen?", refusal}));
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

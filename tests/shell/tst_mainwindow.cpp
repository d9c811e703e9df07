#include "AppHome.h"
#include "DBNavButton.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "UDM.h"
#include "UMain.h"
#include "UProgram.h"
#include "ui_UMain.h"
#include <QHeaderView>
#include <QtTest>

namespace {

// The running program on the demo database with a few more devices:
// Drucker 85, Mikrowelle 86, Radio 3 (Raum 2), RAUCHMELDER 4 (Flur),
// Radiowecker 5 (Küche), all of the demo customer.
struct Running {
    TAppHome home;
    TScriptedDialogs dialogs;
    TProgram program;
    Ui::TfrmMain *ui = nullptr;
    explicit Running(const QStringList &changes = {})
    {
        QStringList all = {
            "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Radio', 3, 'Raum 2', 12, 101)",
            "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (1101, 'RAUCHMELDER', 4, 'Flur', 6, 101)",
            "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (1102, 'Radiowecker', 5, 'Küche', 24, 101)"};
        home.createDatabase(all + changes);
        program.create();
        ui = frmMain->ui();
    }
    QString current(const char *field) { return frmDM->dsetPrueflinge.fieldByName(field)->asString(); }
    QString statementEnd()
    {
        const QString sql = frmDM->dsetPrueflinge.selectSql().join(' ');
        return sql.mid(sql.indexOf("ORDER BY"));
    }
    bool underlined(int column)
    {
        return ui->gridPrueflinge->model()->headerData(column, Qt::Horizontal, Qt::FontRole).value<QFont>().underline();
    }
    void clickTitle(int column)
    {
        QHeaderView *header = ui->gridPrueflinge->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void layoutAndColumns()
    {
        Running r;
        QCOMPARE(frmMain->windowTitle(), QStringLiteral("Velmora Prüfprotokolle"));
        QAbstractItemModel *devices = r.ui->gridPrueflinge->model();
        QStringList titles;
        for (int c = 0; c < devices->columnCount(); ++c)
            titles << devices->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"ID", "Bezeichnung", "Nummer", "Schutzklasse", "Ort", "Interval", "Aktiv"}));
        QAbstractItemModel *inspections = r.ui->gridPruefungen->model();
        titles.clear();
        for (int c = 0; c < inspections->columnCount(); ++c)
            titles << inspections->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"Prüfdatum", "Prüfer", "Sichtprüfung", "Schutzleiterwiderstand", "Isolationsprüfung",
                                      "Ersatzableitstrom", "Differenzstrom", "Berührungsstrom", "Funktionsprüfung", "Prüfung"}));
        QCOMPARE(inspections->index(0, 9).data().toString(), QStringLiteral("Bestanden"));
        QCOMPARE(r.ui->txtAnzahl->text(), QStringLiteral("5"));
    }

    void sortingByTitles()
    {
        Running r;
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Drucker"));
        r.clickTitle(1); // "Bezeichnung", already the sort field
        QCOMPARE(frmDM->PrueflingeSortDir, QStringLiteral("DESC"));
        QVERIFY(!r.underlined(1));
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY BEZEICHNUNG COLLATE DE_DE DESC ,NUMMER DESC"));
        r.clickTitle(4); // "Ort"
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY ORT COLLATE DE_DE ASC ,NUMMER ASC"));
        QVERIFY(r.underlined(4));
        QCOMPARE(r.current("ORT"), QStringLiteral("Flur"));
        r.clickTitle(4);
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY ORT COLLATE DE_DE DESC ,NUMMER DESC"));
        QVERIFY(r.underlined(4));
        r.clickTitle(2); // "Nummer"
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY NUMMER ASC"));
        QVERIFY(!r.underlined(4));
        QVERIFY(r.underlined(2));
        QCOMPARE(frmDM->PrueflingeSortColumn, 2);
        QCOMPARE(r.current("NUMMER"), QStringLiteral("3"));
    }

    void searchAndContinue()
    {
        Running r;
        QTest::keyClicks(r.ui->editLocate, "ra");
        QTest::mouseClick(r.ui->btnSuchen, Qt::LeftButton);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radio"));
        QVERIFY(frmMain->FPrueflingLocate);
        QTest::mouseClick(r.ui->btnWeiterSuchen, Qt::LeftButton);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radiowecker"));
        QTest::mouseClick(r.ui->btnWeiterSuchen, Qt::LeftButton);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("RAUCHMELDER"));
        QTest::mouseClick(r.ui->btnWeiterSuchen, Qt::LeftButton); // nothing more: silent
        QVERIFY(!frmMain->FPrueflingLocate);
        QCOMPARE(r.dialogs.messages(), QStringList());
        QTest::mouseClick(r.ui->btnWeiterSuchen, Qt::LeftButton); // from the start again
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radio"));
        // Enter in the search field continues too.
        QTest::keyClick(r.ui->editLocate, Qt::Key_Return);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radiowecker"));
        r.ui->editLocate->setText("zz");
        QTest::mouseClick(r.ui->btnSuchen, Qt::LeftButton);
        QCOMPARE(r.dialogs.messages(), QStringList{"Kein Datensatz gefunden!"});
        QCOMPARE(r.dialogs.beeps(), 1);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radiowecker"));
    }

    void newInspectionStartsAtFirstRow()
    {
        Running r;
        TDataSet &inspections = frmDM->dsetPruefungen;
        inspections.next(); // the older one
        QCOMPARE(inspections.recNo(), 2);
        QVERIFY(r.ui->btnNeuePruefung->isEnabled());
        QTest::mouseClick(r.ui->btnNeuePruefung, Qt::LeftButton);
        QCOMPARE(inspections.state(), TDataSetState::Insert);
        QCOMPARE(inspections.recNo(), 1);
        QVERIFY(!r.ui->btnPruefungBearbeiten->isEnabled());
        inspections.cancel();
        QVERIFY(r.ui->btnPruefungBearbeiten->isEnabled());
    }

    void deviceCountFollowsReloadOnly()
    {
        Running r;
        QTest::mouseClick(r.ui->DBNavButton1, Qt::LeftButton);
        TDataSet &devices = frmDM->dsetPrueflinge;
        QCOMPARE(devices.state(), TDataSetState::Insert);
        devices.fieldByName("BEZEICHNUNG")->setAsString("Toaster");
        devices.post();
        QCOMPARE(r.ui->txtAnzahl->text(), QStringLiteral("5"));
        frmMain->fillCbKunden();
        QCOMPARE(r.ui->txtAnzahl->text(), QStringLiteral("6"));
    }

    void deleteFromListAsksFirst()
    {
        Running r;
        r.ui->gridPrueflinge->setFocus();
        r.dialogs.answers.enqueue(IDialogs::Answer::Cancel);
        QTest::keyClick(r.ui->gridPrueflinge, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(r.dialogs.messages(), QStringList{"Datensatz löschen?"});
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), 5);
        r.dialogs.answers.enqueue(IDialogs::Answer::Ok);
        QTest::keyClick(r.ui->gridPruefungen, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(frmDM->dsetPruefungen.recordCount(), 1);
    }

    void deviceCommandsNeedCustomer()
    {
        Running r({"DELETE FROM KUNDEN"});
        QVERIFY(frmDM->dsetPrueflinge.active());
        QVERIFY(!r.ui->DBNavButton1->isEnabled());
        QVERIFY(!r.ui->DBNavButton2->isEnabled());
    }

    void helpOpensAddress()
    {
        Running r;
        r.ui->PruefprotokolleHilfe1->trigger();
        QCOMPARE(r.dialogs.shown.last().kind, QStringLiteral("url"));
        QVERIFY(r.dialogs.shown.last().text.startsWith("https://"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

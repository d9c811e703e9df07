#include "RunningProgram.h"
#include "UMain.h"
#include "Query.h"
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QtTest>

namespace {

// The running program on the demo database with a few more devices:
// Drucker 85, Mikrowelle 86, Radio 3 (Raum 2), RAUCHMELDER 4 (Flur),
// Radiowecker 5 (Küche), all of the demo customer.
const QStringList kMoreDevices = {
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Radio', 3, 'Raum 2', 12, 101)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (1101, 'RAUCHMELDER', 4, 'Flur', 6, 101)",
    "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES (1102, 'Radiowecker', 5, 'Küche', 24, 101)"};

struct Running : TRunningProgram {
    explicit Running(const QStringList &changes = {}) : TRunningProgram(kMoreDevices + changes) {}
    QString current(const char *field) { return frmDM->dsetPrueflinge.fieldByName(field)->asString(); }
    QString statementEnd()
    {
        const QString sql = frmDM->dsetPrueflinge.selectSql().join(' ');
        return sql.mid(sql.lastIndexOf("ORDER BY"));
    }
    static QTableView *devices() { return find<QTableView>(frmMain, "gridPrueflinge"); }
    bool underlined(int column)
    {
        return devices()->model()->headerData(column, Qt::Horizontal, Qt::FontRole).value<QFont>().underline();
    }
    void clickTitle(int column)
    {
        QHeaderView *header = devices()->horizontalHeader();
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
        QAbstractItemModel *devices = r.devices()->model();
        QStringList titles;
        for (int c = 0; c < devices->columnCount(); ++c)
            titles << devices->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"ID", "Bezeichnung", "Nummer", "Schutzklasse", "Ort", "Intervall", "Aktiv", "Nächste Prüfung"}));
        QCOMPARE(devices->index(0, 7).data().toString(), QStringLiteral("10.01.2015")); // Drucker, of its latest inspection
        // The printer is overdue and the four others were never inspected.
        QCOMPARE(r.find<QLabel>(frmMain, "StatusPanelDue")->text(), QStringLiteral("5 überfällig, 0 in 30 Tagen"));
        QAbstractItemModel *inspections = r.find<QTableView>(frmMain, "gridPruefungen")->model();
        titles.clear();
        for (int c = 0; c < inspections->columnCount(); ++c)
            titles << inspections->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"Prüfdatum", "Prüfer", "Sichtprüfung", "Schutzleiterwiderstand", "Isolationsprüfung",
                                      "Ersatzableitstrom", "Differenzstrom", "Berührungsstrom", "Funktionsprüfung", "Prüfung"}));
        QCOMPARE(inspections->index(0, 9).data().toString(), QStringLiteral("Bestanden"));
        QCOMPARE(r.find<QLabel>(frmMain, "txtAnzahl")->text(), QStringLiteral("5"));
    }

    void sortingByTitles()
    {
        Running r;
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Drucker"));
        r.clickTitle(1); // "Bezeichnung", already the sort field
        QCOMPARE(frmDM->PrueflingeSortDir, QStringLiteral("DESC"));
        QVERIFY(!r.underlined(1));
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY BEZEICHNUNG COLLATE UNICODE DESC ,NUMMER DESC"));
        r.clickTitle(4); // "Ort"
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY ORT COLLATE UNICODE ASC ,NUMMER ASC"));
        QVERIFY(r.underlined(4));
        QCOMPARE(r.current("ORT"), QStringLiteral("Flur"));
        r.clickTitle(4);
        QCOMPARE(r.statementEnd(), QStringLiteral("ORDER BY ORT COLLATE UNICODE DESC ,NUMMER DESC"));
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
        QTest::keyClicks(r.find<QLineEdit>(frmMain, "editLocate"), "ra");
        r.click(frmMain, "btnSuchen");
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radio"));
        QVERIFY(frmMain->FPrueflingLocate);
        r.click(frmMain, "btnWeiterSuchen");
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radiowecker"));
        r.click(frmMain, "btnWeiterSuchen");
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("RAUCHMELDER"));
        r.click(frmMain, "btnWeiterSuchen"); // nothing more: silent
        QVERIFY(!frmMain->FPrueflingLocate);
        QCOMPARE(r.dialogs.messages(), QStringList());
        r.click(frmMain, "btnWeiterSuchen"); // from the start again
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radio"));
        // Enter in the search field continues too.
        QTest::keyClick(r.find<QLineEdit>(frmMain, "editLocate"), Qt::Key_Return);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Radiowecker"));
        r.find<QLineEdit>(frmMain, "editLocate")->setText("zz");
        r.click(frmMain, "btnSuchen");
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
        QVERIFY(r.find<QAbstractButton>(frmMain, "btnNeuePruefung")->isEnabled());
        r.click(frmMain, "btnNeuePruefung");
        QCOMPARE(inspections.state(), TDataSetState::Insert);
        QCOMPARE(inspections.recNo(), 1);
        QVERIFY(!r.find<QAbstractButton>(frmMain, "btnPruefungBearbeiten")->isEnabled());
        inspections.cancel();
        QVERIFY(r.find<QAbstractButton>(frmMain, "btnPruefungBearbeiten")->isEnabled());
    }

    // "Anzahl Prüflinge" follows a saved and a deleted device at once.
    void deviceCountFollowsSaveAndDelete()
    {
        Running r;
        r.click(frmMain, "DBNavButton1");
        TDataSet &devices = frmDM->dsetPrueflinge;
        QCOMPARE(devices.state(), TDataSetState::Insert);
        devices.fieldByName("BEZEICHNUNG")->setAsString("Toaster");
        devices.post();
        QCOMPARE(r.find<QLabel>(frmMain, "txtAnzahl")->text(), QStringLiteral("6"));
        r.dialogs.answers.enqueue(IDialogs::Answer::Ok);
        r.click(frmMain, "DBNavButton3");
        QCOMPARE(r.find<QLabel>(frmMain, "txtAnzahl")->text(), QStringLiteral("5"));
    }

    // "Ansicht → Aktualisieren" (F5) reads customers and devices again and
    // keeps the chosen customer and device.
    void refreshKeepsChoice()
    {
        Running r;
        QAction *refresh = r.find<QAction>(frmMain, "Aktualisieren1");
        QCOMPARE(refresh->shortcut(), QKeySequence(Qt::Key_F5));
        TDataSet &devices = frmDM->dsetPrueflinge;
        devices.moveTo(1);
        const qint64 chosen = devices.fieldByName("ID")->asInteger();
        TQuery change(&frmDM->Database);
        for (const QString &sql : {QStringLiteral("UPDATE PRUEFLINGE SET BEZEICHNUNG = 'Neu benannt' WHERE ID = %1").arg(chosen),
                                   QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (GEN_ID(SEQ_KUNDEN, 1), 'Aaron Zweitkunde')")}) {
            change.setSql(sql);
            change.execQuery();
        }
        frmDM->Transaction.commitRetaining();
        refresh->trigger();
        auto *customers = r.find<QComboBox>(frmMain, "cbKunden");
        QVERIFY(customers->findText("Aaron Zweitkunde") >= 0);
        QCOMPARE(customers->currentText(), QStringLiteral("Demo-Kunde"));
        QCOMPARE(devices.fieldByName("ID")->asInteger(), chosen);
        QCOMPARE(r.current("BEZEICHNUNG"), QStringLiteral("Neu benannt"));
    }

    void deleteFromListAsksFirst()
    {
        Running r;
        r.devices()->setFocus();
        r.dialogs.answers.enqueue(IDialogs::Answer::Cancel);
        QTest::keyClick(r.devices(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(r.dialogs.messages(), QStringList{"Datensatz löschen?\n\nPrüfling „Drucker“, Nummer 85 mit allen seinen Prüfungen"});
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), 5);
        r.dialogs.answers.enqueue(IDialogs::Answer::Ok);
        QTest::keyClick(r.find<QTableView>(frmMain, "gridPruefungen"), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(frmDM->dsetPruefungen.recordCount(), 1);
    }

    void deviceCommandsNeedCustomer()
    {
        Running r({"DELETE FROM KUNDEN"});
        QVERIFY(frmDM->dsetPrueflinge.active());
        QVERIFY(!r.find<QAbstractButton>(frmMain, "DBNavButton1")->isEnabled());
        QVERIFY(!r.find<QAbstractButton>(frmMain, "DBNavButton2")->isEnabled());
    }

    void helpOpensAddress()
    {
        Running r;
        r.find<QAction>(frmMain, "PruefprotokolleHilfe1")->trigger();
        QCOMPARE(r.dialogs.shown.last().kind, QStringLiteral("url"));
        QVERIFY(r.dialogs.shown.last().text.startsWith("https://"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

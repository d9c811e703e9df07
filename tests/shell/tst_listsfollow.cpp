#include "AppTestMain.h"
#include "NewDatabase.h"
#include "RunningProgram.h"
#include "UDlgBackup.h"
#include "UDlgConnection.h"
#include "UDlgPruefer.h"
#include "UMain.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QtTest>

// The main window over a working day: its lists, counts and commands
// follow every save and delete, and no window keeps editing what is gone.
namespace {

using Answer = IDialogs::Answer;
const QDateTime kToday(QDate(2026, 12, 10), QTime(9, 30));

struct Program : TRunningProgram {
    explicit Program(const QStringList &changes = {"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Leerer Kunde')"})
        : TRunningProgram(changes, kToday)
    {
    }
    void chooseCustomer(const QString &name)
    {
        auto *customers = find<QComboBox>(frmMain, "cbKunden");
        const int index = customers->findText(name);
        customers->setCurrentIndex(index);
        emit customers->activated(index);
    }
    static void choose(QComboBox *box, const QString &text)
    {
        const int index = box->findText(text);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    QTableView *devices() const { return find<QTableView>(frmMain, "gridPrueflinge"); }
    QTableView *inspections() const { return find<QTableView>(frmMain, "gridPruefungen"); }
    bool enabled(const char *button) const { return find<QAbstractButton>(frmMain, button)->isEnabled(); }
    QString count() const { return find<QLabel>(frmMain, "txtAnzahl")->text(); }
    QString dueCounts() const { return find<QLabel>(frmMain, "StatusPanelDue")->text(); }
    void newDevice(const QString &name)
    {
        click(frmMain, "DBNavButton1");
        typeWithoutReturn(find<QComboBox>(frmPruefling, "cbBezeichnung")->lineEdit(), name);
        click(frmPruefling, "btnSave");
    }
    // Marks an inspection's protocol as handed over.
    void closeProtocol(int pruefungId)
    {
        TQuery q(&frmDM->Database);
        q.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN_ABGESCHLOSSEN (PRUEFUNG_ID, ABGESCHLOSSEN) VALUES (%1, '2026-12-01')").arg(pruefungId));
        q.execQuery();
        frmDM->Transaction.commitRetaining();
    }
};

} // namespace

class TestListsFollow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // The first device of a new customer can be inspected as soon as it is saved.
    void newInspectionAfterFirstDevice()
    {
        Program p;
        p.chooseCustomer("Leerer Kunde");
        QVERIFY(!p.enabled("btnNeuePruefung"));
        p.newDevice("Kaffeemaschine");
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = 102"), 1);
        QVERIFY(p.enabled("btnNeuePruefung"));
        p.click(frmMain, "btnNeuePruefung");
        QCOMPARE(frmDM->dsetPruefungen.state(), TDataSetState::Insert);
    }

    // "Anzahl Prüflinge" and the due counts follow a saved and a deleted device.
    void countsFollowDeviceSaveAndDelete()
    {
        Program p;
        QCOMPARE(p.count(), QStringLiteral("2"));
        const QString dueBefore = p.dueCounts();
        p.newDevice("Kaffeemaschine"); // never inspected: due at once
        QCOMPARE(p.count(), QStringLiteral("3"));
        QVERIFY(p.dueCounts() != dueBefore);
        p.dialogs.answers.enqueue(Answer::Ok);
        p.click(frmMain, "DBNavButton3");
        QCOMPARE(p.count(), QStringLiteral("2"));
        QCOMPARE(p.dueCounts(), dueBefore);
    }

    // An inspector added while the program runs is named in the inspection list at once.
    void inspectorAddedShowsInList()
    {
        Program p;
        dlgPruefer->show();
        p.click(dlgPruefer, "btnNeu");
        p.typeWithoutReturn(p.find<QLineEdit>(dlgPruefer, "editName"), "Anna Roth");
        p.click(dlgPruefer, "btnSichern");
        dlgPruefer->close();
        p.click(frmMain, "btnNeuePruefung");
        p.choose(p.find<QComboBox>(frmPruefung, "cbPruefer"), "Anna Roth");
        p.click(frmPruefung, "btnSave");
        QCOMPARE(p.text("SELECT r.NAME FROM PRUEFUNGEN u JOIN PRUEFER r ON r.ID = u.PRUEFER_ID ORDER BY u.ID DESC ROWS 1"),
                 QStringLiteral("Anna Roth"));
        const QModelIndex newest = p.inspections()->model()->index(0, 1);
        QCOMPARE(p.inspections()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Prüfer"));
        QCOMPARE(newest.data().toString(), QStringLiteral("Anna Roth"));
    }

    // Switching the database with "Nein" (do not save) closes the window
    // that edited a record of the old one; the old record is unchanged.
    void switchingDatabaseClosesEditingWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("device window") << "DBNavButton2";
        QTest::newRow("inspection window") << "btnPruefungBearbeiten";
    }
    void switchingDatabaseClosesEditingWindow()
    {
        QFETCH(QString, command);
        Program p;
        const QString other = p.home.dir.filePath("zweite.fdb");
        {
            TDatabase db;
            TTransaction t(&db);
            db.params = connectionParams();
            createVelmoraDatabase(db, other);
        }
        p.click(frmMain, command.toLatin1().constData());
        QWidget *window = command == u"DBNavButton2" ? static_cast<QWidget *>(frmPruefling) : frmPruefung;
        QVERIFY(window->isVisible());
        if (window == frmPruefling)
            p.typeWithoutReturn(p.find<QComboBox>(frmPruefling, "cbBezeichnung")->lineEdit(), "Anders");
        else
            p.typeWithoutReturn(p.find<QLineEdit>(frmPruefung, "editSchutzleitwiderstand"), "0,2");
        TdlgDbConnection dialog(frmMain);
        p.find<QLineEdit>(&dialog, "editDatabase")->setText(other);
        p.dialogs.answers.enqueue(Answer::No);
        p.click(&dialog, "btnOK");
        QCOMPARE(p.dialogs.messages(), QStringList{"Daten in Bearbeitung...\r\nSichern?"});
        QVERIFY(!window->isVisible());
        QCOMPARE(frmDM->Database.databaseName(), other);
        QVERIFY(!frmDM->dsetPrueflinge.editing() && !frmDM->dsetPruefungen.editing());
    }

    // Tab leaves the device list instead of walking to the next device.
    void tabLeavesDeviceList()
    {
        Program p;
        frmMain->show();
        frmMain->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frmMain));
        p.devices()->setFocus();
        QCOMPARE(QApplication::focusWidget(), p.devices());
        const qint64 current = frmDM->dsetPrueflinge.fieldByName("ID")->asInteger();
        QTest::keyClick(p.devices(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != p.devices());
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("ID")->asInteger(), current);
    }

    // The delete question names the record: the device by name and number,
    // the inspection by its date.
    void deleteQuestionNamesTheRecord_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("question");
        QTest::newRow("device") << "DBNavButton3" << "Datensatz löschen?\n\nPrüfling „Drucker“, Nummer 85 mit allen seinen Prüfungen";
        QTest::newRow("inspection") << "btnPruefungLoeschen"
                                    << "Datensatz löschen?\n\nPrüfung vom 10.07.2014 18:33 des Prüflings „Drucker“, Nummer 85";
    }
    void deleteQuestionNamesTheRecord()
    {
        QFETCH(QString, command);
        QFETCH(QString, question);
        Program p;
        p.dialogs.answers.enqueue(Answer::Cancel);
        p.click(frmMain, command.toLatin1().constData());
        QCOMPARE(p.dialogs.messages(), QStringList{question});
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 2);
    }

    // A closed protocol is refused before the question, not after OK.
    void closedProtocolRefusedBeforeAsking()
    {
        Program p;
        p.closeProtocol(10002);
        p.click(frmMain, "btnPruefungLoeschen");
        QCOMPARE(p.dialogs.messages().size(), 1);
        QVERIFY(p.dialogs.messages().constFirst().startsWith("Diese Prüfung ist abgeschlossen"));
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 2);
    }

    // On an empty list there is nothing to edit or delete, and nothing is created.
    void emptyListOffersNoEdit()
    {
        Program p;
        p.chooseCustomer("Leerer Kunde");
        QVERIFY(p.enabled("DBNavButton1"));
        QVERIFY(!p.enabled("DBNavButton2"));
        QVERIFY(!p.enabled("DBNavButton3"));
        p.click(frmMain, "DBNavButton2");
        QVERIFY(!frmPruefling->isVisible());
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = 102"), 0);
    }

    // The backup proposes a folder that is there and says when it is done.
    void backupProposesExistingFolderAndReports()
    {
        Program p;
        TAppHome::setSetting("DBBackupPath", p.home.dir.filePath("gibt es nicht"));
        TfrmDbBackup dialog(frmMain);
        const QString proposed = p.find<QLineEdit>(&dialog, "editDatabase")->text();
        QVERIFY(QFileInfo(QFileInfo(proposed).absolutePath()).isDir());
        QCOMPARE(QFileInfo(proposed).absolutePath(), QFileInfo(p.home.dbPath).absolutePath());
        p.click(&dialog, "btnCopy");
        QVERIFY(QFile::exists(proposed));
        QCOMPARE(p.dialogs.messages(), QStringList{"Die Sicherung wurde gespeichert:\n" + QDir::toNativeSeparators(proposed)});
    }
};

VELMORA_APP_TEST_MAIN(TestListsFollow)
#include "tst_listsfollow.moc"

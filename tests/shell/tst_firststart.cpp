#include "AppTestMain.h"
#include "FirstStartWindow.h"
#include "RunningProgram.h"
#include "UMain.h"
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QtTest>

// The first start: no database yet. The first-start window offers a new
// database for the firm, the demo database, an existing file and a server;
// each choice ends with the database open and remembered.
namespace {

FirstStartWindow *firstStartWindow()
{
    FirstStartWindow *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *candidate = qobject_cast<FirstStartWindow *>(window); candidate && candidate->isVisible())
            found = candidate;
    return found;
}

struct FirstStart : TRunningProgram {
    FirstStart() : TRunningProgram(NoDatabase{}) {}
    FirstStartWindow *window() const { return firstStartWindow(); }
    QLineEdit *field(const char *name) const { return find<QLineEdit>(window(), name); }
    void fillFirm(const QString &firm, const QString &inspector, const QString &instrument)
    {
        click(window(), "btnNewFirm");
        typeWithoutReturn(field("editFirm"), firm);
        typeWithoutReturn(field("editInspector"), inspector);
        typeWithoutReturn(field("editInstrument"), instrument);
    }
    QString status(int panel) const { return frmMain->statusPanel(panel)->text(); }
    QString customer() const { return find<QComboBox>(frmMain, "cbKunden")->currentText(); }
};

// The rows a demonstration database brings.
const char *const kDemoRowCounts = "SELECT (SELECT COUNT(*) FROM KUNDEN) + (SELECT COUNT(*) FROM PRUEFLINGE) + "
                                   "(SELECT COUNT(*) FROM PRUEFUNGEN) FROM RDB$DATABASE";

} // namespace

class TestFirstStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // Instead of a wrong "already in use" message: the first-start window,
    // and a status bar that says there is no database.
    void startWithoutDatabaseOffersChoices()
    {
        FirstStart p;
        QCOMPARE(p.dialogs.messages(), QStringList());
        QVERIFY(p.window());
        QVERIFY(p.window()->isModal());
        QCOMPARE(p.status(0), QStringLiteral("Datenbank nicht verbunden"));
        QVERIFY(!frmDM->Database.connected());
        for (const char *choice : {"btnNewFirm", "btnDemo", "btnOpen", "btnServer"})
            QVERIFY(p.find<QAbstractButton>(p.window(), choice)->isVisible());
    }

    // An empty database for real work: the firm, its first inspector and
    // instrument as typed, no demonstration rows, the limits in place.
    void newDatabaseForTheFirm()
    {
        FirstStart p;
        p.fillFirm("Elektro Berger", "Anna Roth", "Fluke 6500");
        QCOMPARE(p.field("editFile")->text(), p.home.dbPath); // where the settings looked
        p.typeWithoutReturn(p.field("editInstrumentType"), "Geraetetester");
        p.typeWithoutReturn(p.field("editSerialNumber"), "SN-4711");
        QTest::keyClick(p.field("editSerialNumber"), Qt::Key_Return); // Enter creates
        QCOMPARE(p.dialogs.messages(), QStringList());
        QVERIFY(!p.window());
        QVERIFY(frmDM->Database.connected());
        QCOMPARE(TAppHome::setting("DBName").toString(), p.home.dbPath);
        QCOMPARE(p.status(0), QStringLiteral("Datenbank Verbunden"));
        QCOMPARE(p.text("SELECT NAME FROM AUFTRAGNEHMER"), QStringLiteral("Elektro Berger"));
        QCOMPARE(p.text("SELECT LIST(NAME) FROM PRUEFER"), QStringLiteral("Anna Roth"));
        QCOMPARE(p.text("SELECT NAME || '|' || BEZEICHNUNG || '|' || SERIENNUMMER FROM PRUEFGERAETE"),
                 QStringLiteral("Fluke 6500|Geraetetester|SN-4711"));
        QCOMPARE(p.scalar(kDemoRowCounts), 0);
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM GRENZWERTE"), 5);
        QCOMPARE(p.scalar("SELECT COUNT(*) FROM SCHUTZKLASSEN"), 3);
        QCOMPARE(p.text("SELECT WERT FROM SETTINGS WHERE ID = 2"), QStringLiteral("2"));
        QVERIFY(TRunningProgram::find<QMenu>(frmMain, "Bearbeiten1")->isEnabled());
    }

    // Each name the first inspection needs is asked for before anything is made.
    void newDatabaseNeedsTheNames_data()
    {
        QTest::addColumn<QString>("firm");
        QTest::addColumn<QString>("inspector");
        QTest::addColumn<QString>("instrument");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("firm") << "" << "Anna Roth" << "Fluke" << "Bitte den Namen der Firma eingeben." << "editFirm";
        QTest::newRow("inspector") << "Berger" << " " << "Fluke" << "Bitte den Namen des ersten Prüfers eingeben." << "editInspector";
        QTest::newRow("instrument") << "Berger" << "Anna Roth" << "" << "Bitte den Namen des ersten Prüfgeräts eingeben."
                                    << "editInstrument";
    }
    void newDatabaseNeedsTheNames()
    {
        QFETCH(QString, firm);
        QFETCH(QString, inspector);
        QFETCH(QString, instrument);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        FirstStart p;
        p.fillFirm(firm, inspector, instrument);
        p.click(p.window(), "btnCreate");
        QCOMPARE(p.dialogs.messages(), QStringList{message});
        QVERIFY(p.window());
        QCOMPARE(p.window()->focusWidget() ? p.window()->focusWidget()->objectName() : QString(), focused);
        QVERIFY(!QFile::exists(p.home.dbPath));
        QVERIFY(!frmDM->Database.connected());
    }

    // The demonstration database is made once and opened; a second look
    // opens the same file.
    void demoDatabase()
    {
        FirstStart p;
        p.click(p.window(), "btnDemo");
        QCOMPARE(p.dialogs.messages(), QStringList());
        QVERIFY(!p.window());
        QVERIFY(frmDM->Database.connected());
        const QString demo = TAppHome::setting("DBName").toString();
        QVERIFY(demo.endsWith("VELMORA-DEMO.FDB"));
        QCOMPARE(frmDM->Database.databaseName(), demo);
        QCOMPARE(p.customer(), QStringLiteral("Demo-Kunde"));
    }

    // An existing file of the program is chosen, opened and remembered.
    void existingDatabase()
    {
        FirstStart p;
        const QString other = QFileInfo(p.home.dbPath).dir().filePath("Firma Müller.fdb");
        p.home.dbPath = other;
        p.home.createDatabase({"UPDATE KUNDEN SET NAME = 'Bäckerei Korn'"});
        p.dialogs.paths.enqueue(other);
        p.click(p.window(), "btnOpen");
        QCOMPARE(p.dialogs.messages(), QStringList());
        QVERIFY(!p.window());
        QCOMPARE(TAppHome::setting("DBName").toString(), other);
        QCOMPARE(p.customer(), QStringLiteral("Bäckerei Korn"));
    }

    // A file of another program is refused and the window stays for
    // another choice; a cancelled chooser changes nothing.
    void existingDatabaseRefusesForeignFile()
    {
        FirstStart p;
        p.click(p.window(), "btnOpen"); // the chooser is cancelled
        QVERIFY(p.window());
        const QString foreign = p.home.dir.filePath("fremd.fdb");
        {
            TDatabase db;
            TTransaction t(&db);
            db.params = TTestDatabase::connectionParams();
            db.setDatabaseName(foreign);
            db.params = TTestDatabase::createParams();
            db.createDatabase();
            db.close();
        }
        p.dialogs.paths.enqueue(foreign);
        p.click(p.window(), "btnOpen");
        QCOMPARE(p.dialogs.messages(), QStringList{"Falsche Datenbank...\n" + foreign + " ist keine Datenbank von Velmora Prüfprotokolle."});
        QVERIFY(p.window());
        QVERIFY(!frmDM->Database.connected());
        QCOMPARE(TAppHome::setting("DBName").toString(), p.home.dbPath);
    }

    // "Datenbank auf einem Server" opens the connection dialog for a server
    // path, not the missing local file.
    void serverDatabaseAsksForThePath()
    {
        FirstStart p;
        QString shownPath = QStringLiteral("<kein Dialog>");
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (dialog && dialog->objectName() == u"TdlgDbConnection") {
                shownPath = TRunningProgram::find<QLineEdit>(dialog, "editDatabase")->text();
                TRunningProgram::click(dialog, "btnCancel");
            }
        });
        p.click(p.window(), "btnServer");
        QCOMPARE(shownPath, QString());
        QVERIFY(p.window()); // cancelled: the choices stay
    }
};

VELMORA_APP_TEST_MAIN(TestFirstStart)
#include "tst_firststart.moc"

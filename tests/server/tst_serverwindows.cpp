// The program's windows on a database through a Firebird server, with
// another workstation changing the same records.
#include "AppTestMain.h"
#include "RunningProgram.h"
#include "ServedDatabase.h"
#include "UMain.h"
#include "UPruefling.h"
#include <QLabel>
#include <QTableView>

namespace {

constexpr int kKunde = 101;
constexpr qint64 kDrucker = 1001;

TScriptedDialogs &scripted() { return dynamic_cast<TScriptedDialogs &>(dialogs()); }

} // namespace

class TestServerWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<TServedDatabase> served;

    // The program started on the served database as ANNA, who types her
    // password when asked.
    std::unique_ptr<TRunningProgram> startProgram()
    {
        const QString name = served->name;
        return std::make_unique<TRunningProgram>([name](TAppHome &) {
            TAppHome::setSetting("DBName", name);
            TAppHome::setSetting("DBUser", "ANNA");
            TAppHome::setSetting("KundeID", kKunde);
            scripted().passwords.enqueue(TFirebirdServer::passwordOf(QStringLiteral("ANNA")));
        });
    }

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        qunsetenv("DBUS_SESSION_BUS_ADDRESS"); // no desktop keyring
        VELMORA_SERVE_DATABASE(served);
    }
    void cleanupTestCase() { served.reset(); }

    // The device window keeps what the user typed when another workstation
    // changed the device meanwhile; the message shows both, and a second
    // "Sichern" stores the typed value.
    void deviceWindowKeepsInputOnConflict()
    {
        auto r = startProgram();
        QCOMPARE(r->dialogs.shown.value(0).kind, QStringLiteral("password"));
        QVERIFY(frmDM->Database.connected());
        QVERIFY(frmDM->dsetPrueflinge.locate("ID", TValue(kDrucker)));
        r->click(frmMain, "DBNavButton2"); // "Prüfling bearbeiten"
        QVERIFY(frmPruefling->isVisible());
        r->type(r->find<QLineEdit>(frmPruefling, "EditSerienNr"), "SN-ANNA");
        QCOMPARE(served->runWorkstation(kKunde, {"edit-device", QString::number(kDrucker), "SERIENNR", "SN-BERND"}), QString());
        r->dialogs.clear();
        r->click(frmPruefling, "btnSave");
        const QString shown = r->dialogs.messages().join(u'\n');
        QVERIFY2(shown.startsWith("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz geändert."), qPrintable(shown));
        QVERIFY2(shown.contains("Serien-Nr.: jetzt „SN-BERND“, Ihre Eingabe „SN-ANNA“"), qPrintable(shown));
        QVERIFY(frmPruefling->isVisible());
        QCOMPARE(r->find<QLineEdit>(frmPruefling, "EditSerienNr")->text(), QStringLiteral("SN-ANNA"));
        r->click(frmPruefling, "btnSave");
        QVERIFY(!frmPruefling->isVisible());
        QCOMPARE(r->text("SELECT SERIENNR FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("SN-ANNA"));
    }

    // A device another workstation adds shows in the main window's list by
    // itself; the chosen device stays chosen.
    void mainWindowFollowsOtherWorkstations()
    {
        auto r = startProgram();
        auto *grid = r->find<QTableView>(frmMain, "gridPrueflinge");
        QVERIFY(frmDM->dsetPrueflinge.locate("ID", TValue(kDrucker)));
        const int before = grid->model()->rowCount();
        QTest::qWait(500); // the notice of the connect itself passes first
        QVERIFY(served->runWorkstation(kKunde, {"add-device"}).startsWith(u'D'));
        QTRY_COMPARE_WITH_TIMEOUT(grid->model()->rowCount(), before + 1, 15000);
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("ID")->asInteger(), kDrucker);
    }

    // The server goes away while a device is edited: "Sichern" says so in
    // German, the window keeps what was typed, and the status bar no longer
    // claims a connection. Last, as it stops the server.
    void serverGoneWhileSaving()
    {
        auto r = startProgram();
        QVERIFY(frmDM->dsetPrueflinge.locate("ID", TValue(kDrucker)));
        r->click(frmMain, "DBNavButton2"); // "Prüfling bearbeiten"
        r->type(r->find<QLineEdit>(frmPruefling, "EditSerienNr"), "SN-OHNE-SERVER");
        served->server.stop();
        r->dialogs.clear();
        r->click(frmPruefling, "btnSave");
        const QString shown = r->dialogs.messages().join(u'\n');
        QVERIFY2(shown.startsWith(QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen.")), qPrintable(shown));
        QVERIFY2(!shown.contains(QStringLiteral("connection"), Qt::CaseInsensitive), qPrintable(shown));
        QVERIFY(frmPruefling->isVisible());
        QCOMPARE(r->find<QLineEdit>(frmPruefling, "EditSerienNr")->text(), QStringLiteral("SN-OHNE-SERVER"));
        QTRY_COMPARE(frmMain->statusPanel(0)->text(), QStringLiteral("Keine Verbindung zum Server"));
    }
};

VELMORA_APP_TEST_MAIN(TestServerWindows)
#include "tst_serverwindows.moc"

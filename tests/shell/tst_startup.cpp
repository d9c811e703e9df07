#include "AppHome.h"
#include "HeldDatabase.h"
#include "NewDatabase.h"
#include "Query.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "UDM.h"
#include "UDlgSplash.h"
#include "UMain.h"
#include "UProgram.h"
#include "USettings.h"
#include "ui_UMain.h"
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QtTest>

namespace {

const QString kInUse = QStringLiteral("Es wird bereits von einem Programm auf die Datenbank zugegriffen...");

using Home = TAppHome;

QStringList customerNames()
{
    QStringList names;
    for (int i = 0; i < frmMain->ui()->cbKunden->count(); ++i)
        names << frmMain->ui()->cbKunden->itemText(i);
    return names;
}

QString status(int panel) { return frmMain->statusPanel(panel)->text(); }

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void missingFile()
    {
        Home home;
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(dialogs.messages(), QStringList{kInUse + "\nDie Datei " + home.dbPath + " gibt es nicht."});
        QCOMPARE(status(0), QString());
        QCOMPARE(status(1), QString());
        QCOMPARE(frmMain->ui()->cbKunden->count(), 0);
        QVERIFY(!frmMain->ui()->Bearbeiten1->isEnabled());
        QVERIFY(!frmMain->ui()->Verbinden1->isEnabled());
        QVERIFY(!frmMain->ui()->Trennen1->isEnabled());
        QVERIFY(!frmMain->ui()->Backup1->isEnabled());
        QVERIFY(frmMain->ui()->Verbindung1->isEnabled());
        QVERIFY(frmMain->ui()->Neu1->isEnabled());
        QVERIFY(!frmDM->Database.connected());
    }

    void fileWithoutMarkerRow()
    {
        Home home;
        home.createDatabase({"DELETE FROM SETTINGS"});
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(dialogs.messages(), QStringList{"Falsche Datenbank..."});
        QCOMPARE(status(0), QStringLiteral("Datenbank nicht verbunden"));
        QVERIFY(!frmDM->Database.connected());
        QVERIFY(!frmMain->ui()->Bearbeiten1->isEnabled());
    }

    void foreignFirebirdFile_data()
    {
        QTest::addColumn<QStringList>("tables");
        QTest::newRow("no tables") << QStringList();
        QTest::newRow("a table named like ours") << QStringList{"CREATE TABLE GRENZWERTE (ID INTEGER, WERT DECIMAL(18,4))"};
    }
    void foreignFirebirdFile()
    {
        QFETCH(QStringList, tables);
        Home home;
        {
            TDatabase db;
            TTransaction t(&db);
            db.setDatabaseName(home.dbPath);
            db.params = createDatabaseParams();
            db.createDatabase();
            TQuery q(&db);
            for (const QString &sql : tables) {
                q.setSql(sql);
                q.execQuery();
            }
            t.commit();
        }
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(dialogs.messages(), QStringList{"Falsche Datenbank..."});
        QCOMPARE(frmMain->ui()->cbKunden->count(), 0);
        QVERIFY(!frmDM->Database.connected());
        // Another program's file keeps exactly its columns.
        TDatabase db;
        db.params = connectionParams();
        db.setDatabaseName(home.dbPath);
        db.open();
        TTransaction t(&db);
        TQuery q(&db);
        q.setSql("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$SYSTEM_FLAG = 0");
        q.execQuery();
        QCOMPARE(q.asInteger(0), qint64(tables.isEmpty() ? 0 : 2));
    }

    void damagedFile_data()
    {
        QTest::addColumn<qint64>("truncateTo"); // -1: a file of other bytes
        QTest::newRow("truncated") << qint64(4096);
        QTest::newRow("not a database") << qint64(-1);
    }
    void damagedFile()
    {
        QFETCH(qint64, truncateTo);
        Home home;
        home.createDatabase();
        QFile f(home.dbPath);
        if (truncateTo >= 0) {
            QVERIFY(f.resize(truncateTo));
        } else {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(20000, 'x'));
            f.close();
        }
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(dialogs.messages(),
                 QStringList{kInUse + "\n" + home.dbPath + " ist keine Datenbank dieses Programms oder beschädigt."});
    }

    void fileHeldByAnotherProgram()
    {
        Home home;
        home.createDatabase();
        THeldDatabase other(home.dbPath);
        QVERIFY(other.held);
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(dialogs.messages(), QStringList{kInUse}); // the first line says it all
        QVERIFY(!frmDM->Database.connected());
    }

    void demoDatabase()
    {
        Home home;
        home.createDatabase();
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(dialogs.messages(), QStringList());
        QCOMPARE(status(0), QStringLiteral("Datenbank Verbunden"));
        QCOMPARE(status(1), home.dbPath);
        QCOMPARE(customerNames(), QStringList{"Demo-Kunde"});
        QVERIFY(frmMain->ui()->Bearbeiten1->isEnabled());
        QVERIFY(frmMain->ui()->Trennen1->isEnabled());
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), 2);
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Drucker"));
        QCOMPARE(frmDM->dsetAnzahlPrueflinge.fieldByName("COUNT")->asInteger(), qint64(2));
        QCOMPARE(frmMain->ui()->gridPrueflinge->model()->rowCount(), 2);
        QCOMPARE(frmDM->dsetPruefungen.recordCount(), 2);
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("Pruefer")->asString(), QStringLiteral("Demo-Prüfer"));
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("PRUEFDATUM")->displayText(), QStringLiteral("10.07.2014 18:33"));
        // The schema was brought up to date and the limits loaded.
        QCOMPARE(frmDM->GetGrenzwert(2).Wert_I, 3.5);
        QCOMPARE(frmDM->GetGrenzwert(1).Anzeige, QStringLiteral("Min.     2,00 MOhm"));
    }

    void rememberedCustomer_data()
    {
        QTest::addColumn<int>("remembered");
        QTest::addColumn<QString>("selected");
        QTest::newRow("exists") << 103 << "Zahn";
        QTest::newRow("deleted") << 555 << "Ärzte GmbH";
    }
    void rememberedCustomer()
    {
        QFETCH(int, remembered);
        QFETCH(QString, selected);
        Home home;
        home.createDatabase({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')",
                             "INSERT INTO KUNDEN (ID, NAME) VALUES (103, 'Zahn')",
                             "INSERT INTO KUNDEN (ID, NAME) VALUES (104, 'Ärzte GmbH')",
                             "INSERT INTO KUNDEN (ID, NAME) VALUES (105, 'bergmann')",
                             "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Radio', 12, 103)"});
        Home::setSetting("KundeID", remembered);
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(customerNames(), QStringList({"Ärzte GmbH", "Bauer", "bergmann", "Demo-Kunde", "Zahn"}));
        QCOMPARE(frmMain->ui()->cbKunden->currentText(), selected);
        const qint64 devices = selected == "Zahn" ? 1 : 0;
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), int(devices));
        QCOMPARE(frmDM->dsetAnzahlPrueflinge.fieldByName("COUNT")->asInteger(), devices);
    }

    void noCustomers()
    {
        Home home;
        home.createDatabase({"DELETE FROM KUNDEN"});
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(frmMain->ui()->cbKunden->count(), 0);
        QVERIFY(frmDM->dsetPrueflinge.active());
        QVERIFY(frmDM->dsetPrueflinge.isEmpty());
        QVERIFY(!frmDM->dsetAnzahlPrueflinge.active());
        QCOMPARE(frmMain->ui()->txtAnzahl->text(), QString());
        program.destroy();
        QVERIFY(!Home::setting("KundeID").isValid()); // nothing selected, nothing stored
        QCOMPARE(Home::setting("windows").toString(), QStringLiteral("Windows"));
    }

    void disconnectAndConnectSelectRememberedCustomer()
    {
        Home home;
        home.createDatabase({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')"});
        Home::setSetting("KundeID", 101);
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QCOMPARE(frmMain->ui()->cbKunden->currentText(), QStringLiteral("Demo-Kunde"));
        frmMain->ui()->cbKunden->setCurrentIndex(0); // Bauer, chosen by the user
        frmMain->showPrueflinge();
        frmMain->ui()->Trennen1->trigger();
        QCOMPARE(status(0), QStringLiteral("Datenbank nicht verbunden"));
        QCOMPARE(status(1), home.dbPath);
        QCOMPARE(frmMain->ui()->cbKunden->count(), 0);
        QVERIFY(!frmDM->dsetPrueflinge.active());
        frmMain->ui()->Verbinden1->trigger();
        QCOMPARE(status(0), QStringLiteral("Datenbank Verbunden"));
        QCOMPARE(customerNames(), QStringList({"Bauer", "Demo-Kunde"}));
        QCOMPARE(frmMain->ui()->cbKunden->currentText(), QStringLiteral("Demo-Kunde"));
        QCOMPARE(dialogs.messages(), QStringList());
    }

    void closingStoresCustomerAndStyle()
    {
        Home home;
        home.createDatabase();
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        QVERIFY(frmMain && frmDM && frmDM->FormValid());
        program.destroy();
        QVERIFY(!frmMain && !frmDM);
        QCOMPARE(Home::setting("KundeID").toString(), QStringLiteral("101"));
        QCOMPARE(Home::setting("windows").toString(), QStringLiteral("Windows"));
    }

    void styleMenu()
    {
        Home home;
        home.createDatabase();
        Home::setSetting("windows", "Windows klassisch"); // Qt's classic style; offscreen starts with Fusion
        TScriptedDialogs dialogs;
        TProgram program;
        program.create();
        const QList<QAction *> items = frmMain->ui()->Ansicht1->actions();
        QVERIFY(items.size() >= 2);
        QCOMPARE(items.first()->text(), QStringLiteral("Windows"));
        QCOMPARE(frmMain->FStyleNames.at(frmMain->FCurrentStyleNum), QStringLiteral("Windows klassisch"));
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windows"));
        items.first()->trigger();
        QVERIFY(items.first()->isChecked());
        QCOMPARE(frmMain->FCurrentStyleNum, 0);
        program.destroy();
        QCOMPARE(Home::setting("windows").toString(), QStringLiteral("Windows"));
    }

    void infoTitle_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("title");
        QTest::newRow("two-digit release") << "1.2.14.1" << "Velmora V1.2.14";
        QTest::newRow("one-digit release") << "1.2.3.4" << "Velmora V1.2.3.";
    }
    void infoTitle()
    {
        QFETCH(QString, version);
        QFETCH(QString, title);
        QCOMPARE(TdlgSplash::titleFor(version), title);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

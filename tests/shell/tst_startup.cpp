#include "HeldDatabase.h"
#include "RunningProgram.h"
#include "SchemaVersion.h"
#include "UDlgSplash.h"
#include "UMain.h"
#include "USettings.h"
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QSettings>
#include <QtTest>
#include <optional>

namespace {

const QString kInUse = QStringLiteral("Es wird bereits von einem Programm auf die Datenbank zugegriffen...");
const QString kForeign = QStringLiteral("Falsche Datenbank...\n%1 ist keine Datenbank von Velmora Prüfprotokolle.");

QComboBox *customers() { return TRunningProgram::find<QComboBox>(frmMain, "cbKunden"); }

QStringList customerNames()
{
    QStringList names;
    for (int i = 0; i < customers()->count(); ++i)
        names << customers()->itemText(i);
    return names;
}

QString status(int panel) { return frmMain->statusPanel(panel)->text(); }

bool enabled(const char *command) { return TRunningProgram::find<QAction>(frmMain, command)->isEnabled(); }

// A Firebird file of another program, with the given tables.
void createForeignFile(const QString &path, const QStringList &tables)
{
    TDatabase db;
    TTransaction t(&db);
    db.setDatabaseName(path);
    db.params = createDatabaseParams();
    db.createDatabase();
    TQuery q(&db);
    for (const QString &sql : tables) {
        q.setSql(sql);
        q.execQuery();
    }
    t.commit();
}

// The demo database as a newer program leaves it: upgraded past the last
// step this program knows.
void makeNewer(const QString &path)
{
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    db.setDatabaseName(path);
    db.open();
    runMigrations(db);
    TQuery q(&db);
    q.setSql(QStringLiteral("UPDATE SCHEMAVERSION SET VERSION = %1").arg(latestSchemaVersion() + 1));
    q.execQuery();
    t.commit();
}

// The demo database cut short, or overwritten with other bytes.
bool damage(const QString &path, qint64 truncateTo)
{
    QFile f(path);
    if (truncateTo >= 0)
        return f.resize(truncateTo);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(QByteArray(20000, 'x'));
    return true;
}

// The columns of the tables a file's owner made.
qint64 userColumns(const QString &path)
{
    TDatabase db;
    db.params = connectionParams();
    db.setDatabaseName(path);
    db.open();
    TTransaction t(&db);
    TQuery q(&db);
    q.setSql("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$SYSTEM_FLAG = 0");
    q.execQuery();
    return q.asInteger(0);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    // A file the program cannot use: one message, nothing connected, only
    // the commands that choose or make another file.
    void unusableFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message"); // %1: the file's path
        QTest::addColumn<QString>("statusText");
        // No file at all is a first start, not a failure (the first-start window offers a file).
        QTest::newRow("missing") << "missing" << "" << "Datenbank nicht verbunden";
        QTest::newRow("without marker row") << "without marker row" << kForeign << "Datenbank nicht verbunden";
        QTest::newRow("foreign, no tables") << "foreign, no tables" << kForeign << "Datenbank nicht verbunden";
        QTest::newRow("foreign, a table named like ours") << "foreign, a table named like ours" << kForeign
                                                          << "Datenbank nicht verbunden";
        QTest::newRow("of a newer program") << "of a newer program" << newerSchemaMessage(latestSchemaVersion() + 1, latestSchemaVersion())
                                            << "Datenbank nicht verbunden";
        QTest::newRow("truncated") << "truncated" << "%1 ist keine Datenbank dieses Programms oder beschädigt.\n" << "";
        QTest::newRow("not a database") << "not a database" << "%1 ist keine Datenbank dieses Programms oder beschädigt.\n" << "";
        // Only a file that is really held blames another program.
        QTest::newRow("held by another program") << "held by another program" << kInUse << "";
    }
    void unusableFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(QString, statusText);
        const QStringList foreignTables = file.endsWith("like ours") ? QStringList{"CREATE TABLE GRENZWERTE (ID INTEGER, WERT DECIMAL(18,4))"}
                                                                     : QStringList();
        std::optional<THeldDatabase> other;
        bool prepared = true; // the file is as the row says
        TRunningProgram p([&](TAppHome &home) {
            if (file.startsWith("foreign"))
                createForeignFile(home.dbPath, foreignTables);
            else if (file == "without marker row")
                home.createDatabase({"DELETE FROM SETTINGS"});
            else if (file != "missing")
                home.createDatabase();
            if (file == "of a newer program")
                makeNewer(home.dbPath);
            if (file == "truncated" || file == "not a database")
                prepared = damage(home.dbPath, file == "truncated" ? 4096 : -1);
            else if (file == "held by another program")
                prepared = other.emplace(home.dbPath).held;
        });
        QVERIFY(prepared);
        // A message ending in a line break goes on with the engine's own text.
        const QString expected = message.contains("%1") ? message.arg(p.home.dbPath) : message;
        const QStringList shown = p.dialogs.messages();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(expected.endsWith(u'\n') ? shown.first().startsWith(expected) : shown.first() == expected, qPrintable(shown.first()));
        QVERIFY(!frmDM->Database.connected());
        QCOMPARE(status(0), statusText);
        QCOMPARE(customers()->count(), 0);
        QVERIFY(!TRunningProgram::find<QMenu>(frmMain, "Bearbeiten1")->isEnabled());
        QVERIFY(!enabled("Verbinden1"));
        QVERIFY(!enabled("Trennen1"));
        QVERIFY(!enabled("Backup1"));
        QVERIFY(enabled("Verbindung1"));
        QVERIFY(enabled("Neu1"));
        if (file == "missing")
            QCOMPARE(status(1), QString());
        // Another program's file keeps exactly its columns.
        if (file.startsWith("foreign"))
            QCOMPARE(userColumns(p.home.dbPath), qint64(foreignTables.isEmpty() ? 0 : 2));
    }

    void demoDatabase()
    {
        TRunningProgram p;
        QCOMPARE(p.dialogs.messages(), QStringList());
        QCOMPARE(status(0), QStringLiteral("Datenbank Verbunden"));
        QCOMPARE(status(1), p.home.dbPath);
        QCOMPARE(customerNames(), QStringList{"Demo-Kunde"});
        QVERIFY(p.find<QMenu>(frmMain, "Bearbeiten1")->isEnabled());
        QVERIFY(enabled("Trennen1"));
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), 2);
        QCOMPARE(frmDM->dsetPrueflinge.fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Drucker"));
        QCOMPARE(frmDM->dsetAnzahlPrueflinge.fieldByName("COUNT")->asInteger(), qint64(2));
        QCOMPARE(p.find<QTableView>(frmMain, "gridPrueflinge")->model()->rowCount(), 2);
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
        QTest::addColumn<QString>("dueCounts");
        QTest::newRow("exists") << 103 << "Zahn" << "1 überfällig, 0 in 30 Tagen";
        QTest::newRow("deleted") << 555 << "Ärzte GmbH" << "0 überfällig, 0 in 30 Tagen";
    }
    void rememberedCustomer()
    {
        QFETCH(int, remembered);
        QFETCH(QString, selected);
        QFETCH(QString, dueCounts);
        TRunningProgram p([&](TAppHome &home) {
            home.createDatabase({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')",
                                 "INSERT INTO KUNDEN (ID, NAME) VALUES (103, 'Zahn')",
                                 "INSERT INTO KUNDEN (ID, NAME) VALUES (104, 'Ärzte GmbH')",
                                 "INSERT INTO KUNDEN (ID, NAME) VALUES (105, 'bergmann')",
                                 "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Radio', 12, 103)"});
            TAppHome::setSetting("KundeID", remembered);
        });
        QCOMPARE(customerNames(), QStringList({"Ärzte GmbH", "Bauer", "bergmann", "Demo-Kunde", "Zahn"}));
        QCOMPARE(customers()->currentText(), selected);
        const qint64 devices = selected == "Zahn" ? 1 : 0;
        QCOMPARE(frmDM->dsetPrueflinge.recordCount(), int(devices));
        QCOMPARE(frmDM->dsetAnzahlPrueflinge.fieldByName("COUNT")->asInteger(), devices);
        // The status bar counts what is due of the customer shown.
        QCOMPARE(p.find<QLabel>(frmMain, "StatusPanelDue")->text(), dueCounts);
    }

    void noCustomers()
    {
        TRunningProgram p({"DELETE FROM KUNDEN"});
        QCOMPARE(customers()->count(), 0);
        QVERIFY(frmDM->dsetPrueflinge.active());
        QVERIFY(frmDM->dsetPrueflinge.isEmpty());
        QVERIFY(!frmDM->dsetAnzahlPrueflinge.active());
        QCOMPARE(p.find<QLabel>(frmMain, "txtAnzahl")->text(), QString());
        p.program.destroy();
        QVERIFY(!TAppHome::setting("KundeID").isValid()); // nothing selected, nothing stored
        QCOMPARE(TAppHome::setting("windows").toString(), QStringLiteral("Systemstandard"));
    }

    void disconnectAndConnectSelectRememberedCustomer()
    {
        TRunningProgram p([](TAppHome &home) {
            home.createDatabase({"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Bauer')"});
            TAppHome::setSetting("KundeID", 101);
        });
        QCOMPARE(customers()->currentText(), QStringLiteral("Demo-Kunde"));
        customers()->setCurrentIndex(0); // Bauer, chosen by the user
        frmMain->showPrueflinge();
        p.find<QAction>(frmMain, "Trennen1")->trigger();
        QCOMPARE(status(0), QStringLiteral("Datenbank nicht verbunden"));
        QCOMPARE(status(1), p.home.dbPath);
        QCOMPARE(customers()->count(), 0);
        QVERIFY(!frmDM->dsetPrueflinge.active());
        p.find<QAction>(frmMain, "Verbinden1")->trigger();
        QCOMPARE(status(0), QStringLiteral("Datenbank Verbunden"));
        QCOMPARE(customerNames(), QStringList({"Bauer", "Demo-Kunde"}));
        QCOMPARE(customers()->currentText(), QStringLiteral("Demo-Kunde"));
        QCOMPARE(p.dialogs.messages(), QStringList());
    }

    void closingStoresCustomerAndStyle()
    {
        TRunningProgram p;
        QVERIFY(frmMain && frmDM && frmDM->FormValid());
        p.program.destroy();
        QVERIFY(!frmMain && !frmDM);
        QCOMPARE(TAppHome::setting("KundeID").toString(), QStringLiteral("101"));
        QCOMPARE(TAppHome::setting("windows").toString(), QStringLiteral("Systemstandard"));
    }

    void styleMenu()
    {
        TRunningProgram p([](TAppHome &home) {
            home.createDatabase();
            TAppHome::setSetting("windows", "Klassisch"); // Qt's classic style; offscreen starts with Fusion
        });
        const QList<QAction *> items = p.find<QMenu>(frmMain, "Ansicht1")->actions();
        QVERIFY(items.size() >= 2);
        QCOMPARE(items.first()->text(), QStringLiteral("Systemstandard"));
        QCOMPARE(frmMain->FStyleNames.at(frmMain->FCurrentStyleNum), QStringLiteral("Klassisch"));
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windows"));
        items.first()->trigger();
        QVERIFY(items.first()->isChecked());
        QCOMPARE(frmMain->FCurrentStyleNum, 0);
        p.program.destroy();
        QCOMPARE(TAppHome::setting("windows").toString(), QStringLiteral("Systemstandard"));
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

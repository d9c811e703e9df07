#include "AppTestMain.h"
#include "RunningProgram.h"
#include "UDlgBackup.h"
#include "UDlgConnection.h"
#include "UDlgNewDatabase.h"
#include "UDlgSettingPrueflinge.h"
#include "UMain.h"
#include "PasswordStore.h"
#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QTcpServer>
#include <QPushButton>
#include <QtTest>

// The dialogs of the "Datenbank" and "Einstellungen" menus.
class TestStoreDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void connectionTestAndCancel()
    {
        TRunningProgram r;
        TdlgDbConnection dialog(frmMain);
        QCOMPARE(r.find<QLineEdit>(&dialog, "editDatabase")->text(), r.home.dbPath);
        QVERIFY(r.find<QPushButton>(&dialog, "btnCancel")->isDefault());
        dialog.btnTestClick();
        QCOMPARE(r.dialogs.messages(), QStringList{"Datenbankverbindung hergestellt!"});
        QCOMPARE(r.dialogs.beeps(), 1);
        QVERIFY(frmDM->Database.connected());
        QVERIFY(!frmDM->dsetPrueflinge.active()); // the test opens no record set
        r.find<QLineEdit>(&dialog, "editDatabase")->setText(r.home.dir.filePath("fehlt.fdb"));
        dialog.btnTestClick();
        QVERIFY(r.dialogs.messages().last().contains("fehlt.fdb"));
        QVERIFY(!frmDM->Database.connected());
        dialog.reject();
        QCOMPARE(TAppHome::setting("DBName").toString(), r.home.dbPath); // nothing stored
    }

    void connectionOkStoresAndConnects()
    {
        TRunningProgram r;
        TdlgDbConnection dialog(frmMain);
        r.find<QLineEdit>(&dialog, "editDatabase")->setText("");
        dialog.btnOKClick();
        QCOMPARE(TAppHome::setting("DBName").toString(), QString()); // stored empty, not the default
        QCOMPARE(r.dialogs.messages(), QStringList{"Es ist keine Datenbankdatei angegeben."});
        TdlgDbConnection again(frmMain);
        r.find<QLineEdit>(&again, "editDatabase")->setText(r.home.dbPath);
        again.btnOKClick();
        QVERIFY(frmDM->dsetPrueflinge.active());
        QCOMPARE(r.find<QComboBox>(frmMain, "cbKunden")->currentText(), QStringLiteral("Demo-Kunde"));
    }

    // A path on a server shows user, password and "Kennwort merken"; OK
    // keeps the user in the settings and the password out of them (without
    // a keyring it says the password will be asked for again).
    void connectionToServerAsksForLogin()
    {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS"); // no desktop keyring
        TRunningProgram r;
        TdlgDbConnection dialog(frmMain);
        auto *user = r.find<QLineEdit>(&dialog, "editUser");
        auto *password = r.find<QLineEdit>(&dialog, "editPassword");
        auto *remember = r.find<QCheckBox>(&dialog, "chkRememberPassword");
        QVERIFY(user->isHidden() && password->isHidden() && remember->isHidden());
        int closedPort = 0;
        {
            QTcpServer probe; // a port nobody listens on afterwards
            probe.listen(QHostAddress::LocalHost, 0);
            closedPort = probe.serverPort();
        }
        const QString path = QStringLiteral("localhost/%1:/srv/prüfungen/velmora.fdb").arg(closedPort);
        r.find<QLineEdit>(&dialog, "editDatabase")->setText(path);
        QVERIFY(!user->isHidden() && !password->isHidden() && !remember->isHidden());
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        user->setText("ANNA");
        password->setText("geheim-17");
        remember->setChecked(true);
        dialog.btnOKClick();
        QCOMPARE(TAppHome::setting("DBName").toString(), path);
        QCOMPARE(TAppHome::setting("DBUser").toString(), QStringLiteral("ANNA"));
        QSettings stored(QSettings::NativeFormat, QSettings::UserScope, "Orbenta", "Tarnholm");
        for (const QString &key : stored.allKeys())
            QVERIFY2(!stored.value(key).toString().contains("geheim"), qPrintable(key));
        QVERIFY(r.dialogs.messages().contains(keyringMissingText()));
        QVERIFY(!frmDM->Database.connected()); // nothing listens there
        // A server's path is no local file, and nobody holds it.
        QVERIFY2(r.dialogs.messages().last().startsWith("Keine Verbindung zur Datenbank " + path + " auf dem Server."),
                 qPrintable(r.dialogs.messages().last()));
    }

    void connectionOkRefusesForeignFile_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("another program's file") << QStringList{"CREATE TABLE GRENZWERTE (ID INTEGER, WERT DECIMAL(18,4))"};
        QTest::newRow("half-built file") << QStringList{"CREATE TABLE SETTINGS (ID INTEGER, BEZEICHNUNG VARCHAR(20), WERT VARCHAR(20))"};
    }
    void connectionOkRefusesForeignFile()
    {
        QFETCH(QStringList, statements);
        TRunningProgram r;
        TTestDatabase other;
        for (const QString &sql : statements)
            other.exec(sql);
        other.database.close();
        TdlgDbConnection dialog(frmMain);
        dialog.show();
        r.find<QLineEdit>(&dialog, "editDatabase")->setText(other.path);
        dialog.btnOKClick();
        QCOMPARE(r.dialogs.messages(), QStringList{"Falsche Datenbank...\n" + other.path + " ist keine Datenbank von Velmora Prüfprotokolle."});
        QVERIFY(dialog.isVisible()); // stays for another choice
        QCOMPARE(TAppHome::setting("DBName").toString(), r.home.dbPath);
        QCOMPARE(frmDM->Database.databaseName(), r.home.dbPath);
        QVERIFY(frmDM->dsetPrueflinge.active()); // the previous database stays in use
        QCOMPARE(r.find<QComboBox>(frmMain, "cbKunden")->currentText(), QStringLiteral("Demo-Kunde"));
        other.database.open();
        QCOMPARE(other.scalar("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$SYSTEM_FLAG = 0"), qint64(statements.size() == 1 && statements[0].contains("GRENZWERTE") ? 2 : 3));
    }

    // Enter in the path field creates; the new file is opened at once and
    // remembered, without a question before the work.
    void newDatabase()
    {
        TRunningProgram r;
        TdlgNewDatabase dialog(frmMain);
        dialog.show();
        auto *path = r.find<QLineEdit>(&dialog, "newDatabase");
        QCOMPARE(path->text(), QString());
        // The path has an umlaut, which QTest cannot type: it is pasted.
        const auto enter = [path](const QString &text) {
            path->setFocus();
            path->setText(text);
            QTest::keyClick(path, Qt::Key_Return);
        };
        enter(r.home.dbPath);
        QCOMPARE(r.dialogs.messages(), QStringList{"Datenbank existiert bereits"});
        QCOMPARE(r.dialogs.shown.last().caption, QStringLiteral("Fehler"));
        r.dialogs.clear();
        enter(r.home.dir.filePath("kein/ordner/x.fdb"));
        QCOMPARE(r.dialogs.messages(), QStringList{"Fehler beim Erzeugen der Datenbank"});
        QCOMPARE(frmDM->Database.databaseName(), r.home.dbPath); // a failure leaves the program's file open
        QVERIFY(frmDM->Database.connected());
        r.dialogs.clear();
        const QString second = QFileInfo(r.home.dbPath).dir().filePath("ZWEITE"); // no extension is added
        enter(second);
        QCOMPARE(r.dialogs.messages(), QStringList{"Neue Datenbank erzeugt und geöffnet."});
        QVERIFY(QFile::exists(second));
        QCOMPARE(frmDM->Database.databaseName(), second);
        QVERIFY(frmDM->dsetPrueflinge.active());
        QCOMPARE(TAppHome::setting("DBName").toString(), second);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void backup()
    {
        TRunningProgram r(QStringList(), QDateTime(QDate(2024, 1, 31), QTime(9, 5)));
        TAppHome::setSetting("DBBackupPath", r.home.dir.path());
        TfrmDbBackup dialog(frmMain);
        QCOMPARE(r.find<QLineEdit>(&dialog, "editDatabase")->text(), r.home.dir.path() + "/20240131_0905_VELMORA.FDB");
        QDir(r.home.dir.path()).mkdir("sicherung");
        r.dialogs.paths.enqueue(r.home.dir.filePath("sicherung"));
        dialog.btnOpenPathClick();
        QCOMPARE(TAppHome::setting("DBBackupPath").toString(), r.home.dir.filePath("sicherung"));
        dialog.btnCopyClick();
        QVERIFY(QFile::exists(r.home.dir.filePath("sicherung/20240131_0905_VELMORA.FDB")));
        QVERIFY(frmDM->dsetPrueflinge.active()); // connected again
        QCOMPARE(r.find<QComboBox>(frmMain, "cbKunden")->count(), 1);
        r.find<QLineEdit>(&dialog, "editDatabase")->clear();
        dialog.btnCopyClick();
        QCOMPARE(r.dialogs.messages().last(), QStringLiteral("Datenbank oder Zielpfad nicht definiert!"));
    }

    void deviceDefaults_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("open");
        QTest::newRow("yes") << "12" << int(IDialogs::Answer::Yes) << "24" << false;
        QTest::newRow("no") << "12" << int(IDialogs::Answer::No) << "12" << false;
        QTest::newRow("cancel") << "7" << int(IDialogs::Answer::Cancel) << "7" << true;
    }
    void deviceDefaults()
    {
        QFETCH(QString, stored);
        QFETCH(int, answer);
        QFETCH(QString, after);
        QFETCH(bool, open);
        TRunningProgram r;
        TAppHome::setSetting("DefaultIntervallPruefling", stored);
        TfrmDlgSettingPrueflinge dialog(frmMain);
        QCOMPARE(dialog.selectedPosition(), stored == "7" ? 0 : 2);
        QVERIFY(!dialog.aChanged);
        dialog.show();
        QTest::mouseClick(r.find<QAbstractButton>(&dialog, "rb24"), Qt::LeftButton);
        QVERIFY(dialog.aChanged);
        r.dialogs.answers.enqueue(IDialogs::Answer(answer));
        dialog.close();
        QCOMPARE(r.dialogs.messages(), QStringList{"Einstellung geändert...\r\nSichern?"});
        QCOMPARE(dialog.isVisible(), open);
        QCOMPARE(TAppHome::setting("DefaultIntervallPruefling").toString(), after);
    }
};

VELMORA_APP_TEST_MAIN(TestStoreDialogs)
#include "tst_storedialogs.moc"

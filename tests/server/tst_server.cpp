// Several workstations on one database through a Firebird server the test
// starts itself: this process is one workstation (the data module with its
// record sets), velmora_workstation processes are the others.
#include "DbError.h"
#include "FirebirdServer.h"
#include "NewDatabase.h"
#include "PasswordStore.h"
#include "USettings.h"
#include "WorkstationGrants.h"
#include "Query.h"
#include "ScriptedDialogs.h"
#include "ServerLogin.h"
#include "ServedDatabase.h"
#include "Workstation.h"
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include "FingerprintCheck.h"
#include <QtTest>

namespace {

constexpr int kKunde = 101;
constexpr qint64 kDrucker = 1001, kMikrowelle = 1002;

} // namespace

class TestServer : public QObject {
    Q_OBJECT
    std::unique_ptr<TServedDatabase> served;
    QString dbName;
    std::unique_ptr<TScriptedDialogs> dialogs;
    std::unique_ptr<TWorkstationView> view;
    std::unique_ptr<TfrmDM> dm; // this workstation, logged in as ANNA
    QTemporaryDir settingsHome;

    QProcess *startWorkstation(const QStringList &command) { return served->startWorkstation(kKunde, command, this); }
    QString otherWorkstation(const QStringList &command) { return served->runWorkstation(kKunde, command); }
    TDataSet &devices() { return dm->dsetPrueflinge; }
    void showDevice(qint64 id) { QVERIFY(devices().locate(QStringLiteral("ID"), TValue(id))); }
    QString storedText(const QString &sql)
    {
        TQuery q(&dm->Database);
        q.setSql(sql);
        q.execQuery();
        const QString text = q.eof() ? QString() : q.asString(0);
        q.close();
        return text;
    }

    // Tries one statement on the evidence as ANNA, the granted login of
    // this workstation; rights granted by hand for it are given back after.
    void attackEvidence(const QString &statement, bool grantedByHand)
    {
        TDatabase owner;
        TTransaction ownerTransaction(&owner);
        owner.params = {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=") + TFirebirdServer::sysdbaPassword(),
                        QStringLiteral("lc_ctype=UTF8")};
        owner.setDatabaseName(dbName);
        owner.open();
        const auto asOwner = [&owner](const QString &sql) {
            TQuery q(&owner);
            q.setSql(sql);
            q.execQuery();
            q.close();
        };
        // A row in each table, so that a change has something to change.
        asOwner("INSERT INTO PRUEFUNGEN_VERSIONEN (PRUEFUNG_ID, VERSION, KORRIGIERT, GRUND) SELECT 999999, 1, "
                "CURRENT_TIMESTAMP, 'Probe' FROM RDB$DATABASE WHERE NOT EXISTS (SELECT 1 FROM PRUEFUNGEN_VERSIONEN)");
        asOwner("INSERT INTO PRUEFUNGEN_ABGESCHLOSSEN (PRUEFUNG_ID, ABGESCHLOSSEN) SELECT 999999, CURRENT_TIMESTAMP "
                "FROM RDB$DATABASE WHERE NOT EXISTS (SELECT 1 FROM PRUEFUNGEN_ABGESCHLOSSEN)");
        const QString tables = QStringLiteral("FINGERABDRUECKE, PRUEFUNGEN_VERSIONEN, PRUEFUNGEN_ABGESCHLOSSEN");
        if (grantedByHand)
            for (const QString &table : tables.split(QStringLiteral(", ")))
                asOwner(QStringLiteral("GRANT ALL ON %1 TO USER ANNA").arg(table));
        ownerTransaction.commit();
        dm->Database.close();
        QVERIFY(dm->Connect(dbName));
        const QString chainBefore = storedText("SELECT LIST(WERT) FROM (SELECT WERT FROM FINGERABDRUECKE ORDER BY NR)");

        TQuery attack(&dm->Database);
        attack.setSql(statement);
        try {
            attack.execQuery();
            dm->Database.defaultTransaction()->rollback();
            QFAIL("a workstation's login changed the evidence");
        } catch (const EDatabaseError &e) {
            if (grantedByHand)
                QVERIFY2(e.message().contains(QStringLiteral("können nicht geändert oder gelöscht werden")), qPrintable(e.message()));
        }
        dm->Database.defaultTransaction()->commit();
        QCOMPARE(storedText("SELECT LIST(WERT) FROM (SELECT WERT FROM FINGERABDRUECKE ORDER BY NR)"), chainBefore);
        QCOMPARE(storedText("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE TRIM(RDB$TRIGGER_NAME) IN ('FINGERABDRUECKE_SCHUTZ', "
                            "'PRUEFUNGEN_VERSIONEN_SCHUTZ', 'PRUEFUNGEN_ABGESCHLOSSEN_SCHUTZ') AND COALESCE(RDB$TRIGGER_INACTIVE, 0) = 0"),
                 QStringLiteral("3"));
        if (grantedByHand) {
            ownerTransaction.start();
            for (const QString &table : tables.split(QStringLiteral(", ")))
                asOwner(QStringLiteral("REVOKE ALL ON %1 FROM USER ANNA").arg(table));
            ownerTransaction.commit();
            grantWorkstationUser(owner, QStringLiteral("ANNA"));
        }
        owner.close();
    }

private slots:
    void initTestCase()
    {
        // Settings of the test's own, and no desktop keyring to reach.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsHome.path()));
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        VELMORA_SERVE_DATABASE(served);
        dbName = served->name;
        dialogs = std::make_unique<TScriptedDialogs>();
        view = std::make_unique<TWorkstationView>(kKunde);
        dm = std::make_unique<TfrmDM>();
        dm->setMainView(view.get());
    }

    void init()
    {
        dialogs->clear();
        dm->setServerLogin(dbName, TServerLogin{QStringLiteral("ANNA"), TFirebirdServer::passwordOf(QStringLiteral("ANNA"))});
        QVERIFY2(dm->Connect(dbName), qPrintable(dialogs->messages().join(u'\n')));
        dm->setPrueflingeSQL();
    }

    void cleanup()
    {
        if (dm)
            dm->cancelEdits();
        if (dm)
            dm->Database.close();
    }

    void cleanupTestCase()
    {
        if (dm)
            dm->setMainView(nullptr);
        dm.reset();
        if (served) {
            served->server.stop();
            QVERIFY(!served->server.running());
        }
    }

    // velmora-db reaches the database through the server with a user and a
    // password; copies of files are refused there; a login without a
    // password or with a wrong one ends with 3.
    void velmoraDbThroughServer_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        const QString pw = TFirebirdServer::passwordOf(QStringLiteral("ANNA"));
        QTest::newRow("check") << QStringList{"check", "--user", "ANNA"} << pw << 0 << "Velmora-Datenbank";
        QTest::newRow("wrong password") << QStringList{"check", "--user", "ANNA"} << "falsch" << 3 << "password";
        QTest::newRow("no password") << QStringList{"check", "--user", "ANNA"} << QString() << 3 << "ISC_PASSWORD";
        QTest::newRow("due list") << QStringList{"due", "--csv", "--user", "ANNA"} << pw << 0 << "Kunden-Nr.;Kunde";
        QTest::newRow("due list, no password") << QStringList{"due", "--csv", "--user", "ANNA"} << QString() << 3 << "ISC_PASSWORD";
        QTest::newRow("verify") << QStringList{"verify", "--user", "ANNA"} << pw << 0 << "Fingerabdr";
        QTest::newRow("verify, wrong password")
            << QStringList{"verify", "--user", "ANNA"} << "falsch" << 3 << "Der Server nimmt Benutzer und Kennwort nicht an.";
        QTest::newRow("report, wrong password") << QStringList{"report", "--inventory", "101", "--out", "x.pdf", "--user", "ANNA"}
                                                << "falsch" << 3 << "Der Server nimmt Benutzer und Kennwort nicht an.";
        QTest::newRow("import, wrong password") << QStringList{"import", "x.csv", "--profile", "p", "--user", "ANNA"} << "falsch" << 3
                                                << "password";
        QTest::newRow("backup") << QStringList{"backup"} << pw << 1 << "gbak";
        QTest::newRow("create") << QStringList{"create"} << pw << 1 << "Datenordner des Servers";
    }
    void velmoraDbThroughServer()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, password);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        args.insert(1, dbName);
        if (args.first() == u"backup")
            args << QDir::tempPath();
        const TToolRun run = velmoraDbWith(args, password);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((run.out + run.err).contains(says), qPrintable(run.out + run.err));
    }

    // Without a stored password the program asks for it; without a keyring
    // "Kennwort merken" says it will ask again next time. The password never
    // reaches the settings file.
    void passwordAskedWithoutKeyring_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("remember");
        QTest::addColumn<bool>("connects");
        QTest::addColumn<QString>("says");
        const QString pw = TFirebirdServer::passwordOf(QStringLiteral("ANNA"));
        QTest::newRow("typed") << "ANNA" << QStringList{pw} << false << true << QString();
        QTest::newRow("remembered without keyring") << "ANNA" << QStringList{pw} << true << true << keyringMissingText();
        QTest::newRow("cancelled") << "ANNA" << QStringList{} << false << false << QString();
        QTest::newRow("wrong") << "ANNA" << QStringList{"falsch"} << false << false
                               << "Der Server nimmt Benutzer und Kennwort nicht an.";
        QTest::newRow("no user") << "" << QStringList{} << false << false << "kein Benutzer eingetragen";
    }
    void passwordAskedWithoutKeyring()
    {
        QFETCH(QString, user);
        QFETCH(QStringList, typed);
        QFETCH(bool, remember);
        QFETCH(bool, connects);
        QFETCH(QString, says);
        dm->Database.close();
        dm->forgetServerLogin();
        dm->Settings()->setDBUser(user);
        dialogs->clear();
        dialogs->passwords.clear();
        for (const QString &p : typed)
            dialogs->passwords.enqueue(p);
        dialogs->rememberPassword = remember;
        QCOMPARE(dm->Connect(dbName), connects);
        int asked = 0;
        for (const auto &shown : dialogs->shown)
            if (shown.kind == u"password") {
                ++asked;
                QCOMPARE(shown.text, passwordPrompt(dbName, user));
            }
        QCOMPARE(asked, user.isEmpty() ? 0 : 1);
        if (!says.isEmpty())
            QVERIFY2(dialogs->messages().join(u'\n').contains(says), qPrintable(dialogs->messages().join(u'\n')));
        else
            QVERIFY2(dialogs->messages().isEmpty(), qPrintable(dialogs->messages().join(u'\n')));
        for (const QString &file : QDir(settingsHome.path() + QStringLiteral("/Orbenta")).entryList(QDir::Files)) {
            QFile f(settingsHome.path() + QStringLiteral("/Orbenta/") + file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(!f.readAll().contains("-pw"));
        }
        if (connects) {
            // Connecting again in this run asks no more.
            dialogs->clear();
            QVERIFY(dm->Connect(dbName));
            QVERIFY(dialogs->shown.isEmpty());
        }
    }

    // The same device changed on two workstations: the later post is
    // refused, shows what is stored now and keeps what was typed; a second
    // post then stores it knowingly.
    void sameDeviceEditedOnTwoWorkstations()
    {
        showDevice(kDrucker);
        devices().edit();
        devices().fieldByName(QStringLiteral("BEZEICHNUNG"))->setAsString(QStringLiteral("Drucker Büro Anna"));
        QCOMPARE(otherWorkstation({"edit-device", QString::number(kDrucker), "BEZEICHNUNG", "Drucker Büro Bernd"}), QString());
        try {
            devices().post();
            QFAIL("the post of a row changed elsewhere was accepted");
        } catch (const ERecordConflict &e) {
            QCOMPARE(e.kind(), ERecordConflict::Kind::Changed);
            QVERIFY2(e.message().startsWith(
                         QStringLiteral("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz geändert.")),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("„Drucker Büro Bernd“")), qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("Ihre Eingabe „Drucker Büro Anna“")), qPrintable(e.message()));
        }
        QVERIFY(devices().editing());
        QCOMPARE(devices().fieldByName(QStringLiteral("BEZEICHNUNG"))->asString(), QStringLiteral("Drucker Büro Anna"));
        QCOMPARE(storedText("SELECT BEZEICHNUNG FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("Drucker Büro Bernd"));
        devices().post();
        QCOMPARE(storedText("SELECT BEZEICHNUNG FROM PRUEFLINGE WHERE ID = 1001"), QStringLiteral("Drucker Büro Anna"));
    }

    // A row another workstation holds does not hang this one: after the
    // lock timeout the post is refused with a message, and the typed value
    // stays.
    void rowHeldElsewhereGivesUp()
    {
        TDatabase other;
        TTransaction holding(&other);
        other.params = connectionParamsFor(dbName, {QStringLiteral("BERND"), TFirebirdServer::passwordOf(QStringLiteral("BERND"))});
        other.setDatabaseName(dbName);
        other.open();
        TQuery hold(&other);
        hold.setSql(QStringLiteral("UPDATE PRUEFLINGE SET ORT = 'Flur' WHERE ID = 1002"));
        hold.execQuery(); // not committed
        showDevice(kMikrowelle);
        devices().edit();
        devices().fieldByName(QStringLiteral("ORT"))->setAsString(QStringLiteral("Werkstatt"));
        QElapsedTimer clock;
        clock.start();
        try {
            devices().post();
            QFAIL("the post of a held row was accepted");
        } catch (const EDatabaseError &e) {
            // German only: no engine line under it.
            QCOMPARE(e.message(), QStringLiteral("Der Datensatz wird gerade an einem anderen Arbeitsplatz gespeichert. "
                                                 "Bitte gleich noch einmal versuchen."));
        }
        QVERIFY2(clock.elapsed() < 3 * TTransaction::lockTimeoutSeconds * 1000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(devices().editing());
        holding.rollback();
        devices().post(); // free again
        QCOMPARE(storedText("SELECT ORT FROM PRUEFLINGE WHERE ID = 1002"), QStringLiteral("Werkstatt"));
    }

    // Two workstations store devices under the same new name at once: the
    // second one's addition of the name waits for the first and then finds
    // it there; both saves succeed and the name is kept once.
    void sameNewNameSavedOnTwoWorkstations()
    {
        const QString name = QStringLiteral("Gleichzeitig neu");
        TDatabase first;
        TTransaction holding(&first);
        first.params = connectionParamsFor(dbName, {QStringLiteral("ANNA"), TFirebirdServer::passwordOf(QStringLiteral("ANNA"))});
        first.setDatabaseName(dbName);
        first.open();
        TQuery hold(&first);
        hold.setSql(QStringLiteral("UPDATE PRUEFLINGE SET BEZEICHNUNG = '%1' WHERE ID = 1002").arg(name));
        hold.execQuery(); // not committed yet

        std::unique_ptr<QProcess> second(startWorkstation({"edit-device", QString::number(kDrucker), "BEZEICHNUNG", name}));
        second->setParent(nullptr);
        // Seen by the server's administrator: the second save is under way.
        TDatabase admin;
        TTransaction watching(&admin);
        admin.params = connectionParamsFor(dbName, {QStringLiteral("SYSDBA"), TFirebirdServer::sysdbaPassword()});
        admin.setDatabaseName(dbName);
        admin.open();
        const auto secondSaving = [&admin, &watching] {
            watching.start();
            TQuery q(&admin);
            q.setSql(QStringLiteral("SELECT COUNT(*) FROM MON$STATEMENTS s JOIN MON$ATTACHMENTS a ON a.MON$ATTACHMENT_ID = "
                                    "s.MON$ATTACHMENT_ID WHERE a.MON$USER = 'BERND' AND s.MON$STATE = 1 "
                                    "AND s.MON$SQL_TEXT CONTAINING 'UPDATE PRUEFLINGE'"));
            q.execQuery();
            const bool saving = q.asInteger(0) > 0;
            q.close();
            watching.commit();
            return saving;
        };
        QVERIFY(QTest::qWaitFor(secondSaving, 30000));
        holding.commit();
        QVERIFY(second->waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(second->readAllStandardError()), QString());
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(storedText(QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE WHERE BEZEICHNUNG = '%1'").arg(name)), QStringLiteral("2"));
        QCOMPARE(storedText(QStringLiteral("SELECT COUNT(*) FROM PRUEFLING_TEXTE WHERE TEXT = '%1'").arg(name)), QStringLiteral("1"));
    }

    // A device deleted on one workstation while the other edits it.
    void deviceDeletedWhileEdited()
    {
        const QString added = otherWorkstation({"add-device"});
        QVERIFY2(added.startsWith(u'D'), qPrintable(added));
        const qint64 id = added.split(u' ').at(1).toLongLong();
        devices().refresh();
        showDevice(id);
        devices().edit();
        devices().fieldByName(QStringLiteral("ORT"))->setAsString(QStringLiteral("Keller"));
        QCOMPARE(otherWorkstation({"delete-device", QString::number(id)}), QString());
        try {
            devices().post();
            QFAIL("the post of a row deleted elsewhere was accepted");
        } catch (const ERecordConflict &e) {
            QCOMPARE(e.kind(), ERecordConflict::Kind::Deleted);
            QCOMPARE(e.message(), QStringLiteral("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz gelöscht."));
        }
        QVERIFY(devices().editing());
        QCOMPARE(devices().fieldByName(QStringLiteral("ORT"))->asString(), QStringLiteral("Keller"));
        QCOMPARE(storedText(QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE WHERE ID = %1").arg(id)), QStringLiteral("0"));
    }

    // The number this workstation proposed is taken by another one before
    // the post: the post is refused as for any number in use. Two other
    // workstations adding at the same moment get two numbers.
    void newDevicesForOneCustomer()
    {
        devices().append();
        const QString proposed = devices().fieldByName(QStringLiteral("NUMMER"))->asString();
        const QString added = otherWorkstation({"add-device"});
        QCOMPARE(added.trimmed().split(u' ').value(2), proposed);
        QVERIFY_THROWS_EXCEPTION(EAbort, devices().post());
        QCOMPARE(dialogs->messages().value(0), QStringLiteral("Nummer '%1' ist schon vergeben...").arg(proposed));
        devices().cancel();

        QList<QProcess *> both = {startWorkstation({"add-device"}), startWorkstation({"add-device"})};
        QStringList numbers;
        for (QProcess *p : both) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
            numbers << QString::fromUtf8(p->readAllStandardOutput()).trimmed().split(u' ').value(2);
            delete p;
        }
        QVERIFY2(numbers[0] != numbers[1], qPrintable(numbers.join(u',')));
        QCOMPARE(storedText("SELECT COUNT(*) FROM (SELECT NUMMER FROM PRUEFLINGE WHERE KUNDEN_ID = 101 "
                            "GROUP BY NUMMER HAVING COUNT(*) > 1)"),
                 QStringLiteral("0"));
    }

    // Another workstation's new device shows in the list without a click,
    // but not while a device is being edited here.
    void changesOfOthersShowUp()
    {
        QVERIFY(dm->listensForChanges());
        QTest::qWait(500); // a notice of the connect itself passes first
        const int before = devices().recordCount();
        QVERIFY(otherWorkstation({"add-device"}).startsWith(u'D'));
        QTRY_COMPARE_WITH_TIMEOUT(devices().recordCount(), before + 1, 15000);

        showDevice(kMikrowelle);
        devices().edit();
        devices().fieldByName(QStringLiteral("ORT"))->setAsString(QStringLiteral("Küche"));
        QVERIFY(otherWorkstation({"add-device"}).startsWith(u'D'));
        QTest::qWait(2000);
        QCOMPARE(devices().recordCount(), before + 1);
        QCOMPARE(devices().fieldByName(QStringLiteral("ORT"))->asString(), QStringLiteral("Küche"));
        devices().post();
        QTRY_COMPARE_WITH_TIMEOUT(devices().recordCount(), before + 2, 15000);
        QCOMPARE(devices().fieldByName(QStringLiteral("ID"))->asInteger(), kMikrowelle); // the chosen device stays
    }

    // Several workstations store inspections and devices at once for a
    // while: every acknowledged commit is there, no device number twice.
    void severalWorkstationsUnderLoad()
    {
        constexpr int workstations = 4, seconds = 10;
        QElapsedTimer clock;
        clock.start();
        QList<QProcess *> running;
        for (int i = 0; i < workstations; ++i)
            running << startWorkstation({"load", QString::number(seconds)});
        QSet<qint64> inspections, devicesAdded;
        for (QProcess *p : running) {
            QVERIFY(p->waitForFinished(120000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
                const QList<QByteArray> parts = line.split(' ');
                if (parts.value(0) == "I")
                    inspections << parts.value(1).toLongLong();
                else if (parts.value(0) == "D")
                    devicesAdded << parts.value(1).toLongLong();
            }
            delete p;
        }
        const double elapsed = clock.elapsed() / 1000.0;
        QVERIFY(!inspections.isEmpty());
        QSet<qint64> stored;
        TQuery q(&dm->Database);
        q.setSql(QStringLiteral("SELECT ID FROM PRUEFUNGEN"));
        for (q.execQuery(); !q.eof(); q.next())
            stored << q.asInteger(0);
        q.close();
        QVERIFY2(stored.contains(inspections), "an acknowledged inspection is missing");
        QSet<qint64> storedDevices;
        q.setSql(QStringLiteral("SELECT ID FROM PRUEFLINGE"));
        for (q.execQuery(); !q.eof(); q.next())
            storedDevices << q.asInteger(0);
        q.close();
        QVERIFY2(storedDevices.contains(devicesAdded), "an acknowledged device is missing");
        QCOMPARE(storedText("SELECT COUNT(*) FROM (SELECT NUMMER FROM PRUEFLINGE WHERE KUNDEN_ID = 101 "
                            "GROUP BY NUMMER HAVING COUNT(*) > 1)"),
                 QStringLiteral("0"));
        // The fingerprints of all workstations form one unbroken chain.
        const TFingerprintReport chain = verifyFingerprints(dm->Database);
        QVERIFY2(chain.sound(), qPrintable(chain.text()));
        QCOMPARE(chain.inspections, static_cast<int>(stored.size()));
        qInfo("%d workstations, %.1f s: %lld inspections and %lld devices stored, %.0f commits/s", workstations, elapsed,
              static_cast<long long>(inspections.size()), static_cast<long long>(devicesAdded.size()),
              (inspections.size() + devicesAdded.size()) / elapsed);
    }

    // A workstation's login reads the evidence and adds to it only as the
    // program does: each change, deletion, direct insert or forged append
    // of the chain, the kept versions and the closed protocols is refused,
    // and so is switching off the guards. Rights an administrator handed out
    // by hand beyond that are still stopped by the guards.
    void evidenceClosedToWorkstationLogins_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("grantedByHand");
        const QList<std::pair<const char *, const char *>> attacks = {
            {"chain value rewritten", "UPDATE FINGERABDRUECKE SET WERT = 'x' WHERE NR = 1"},
            {"chain entry deleted", "DELETE FROM FINGERABDRUECKE WHERE NR = 1"},
            {"kept version changed", "UPDATE PRUEFUNGEN_VERSIONEN SET GRUND = 'x'"},
            {"kept version deleted", "DELETE FROM PRUEFUNGEN_VERSIONEN"},
            {"closing time changed", "UPDATE PRUEFUNGEN_ABGESCHLOSSEN SET ABGESCHLOSSEN = CURRENT_TIMESTAMP"},
            {"closed protocol reopened", "DELETE FROM PRUEFUNGEN_ABGESCHLOSSEN"},
        };
        for (const auto &[name, statement] : attacks) {
            QTest::addRow("%s", name) << QString::fromLatin1(statement) << false;
            QTest::addRow("%s, rights granted by hand", name) << QString::fromLatin1(statement) << true;
        }
        QTest::newRow("chain entry inserted directly")
            << "INSERT INTO FINGERABDRUECKE (NR, PRUEFUNG_ID, ART, VERSION, ERSTELLT, INHALT, WERT) "
               "VALUES (100000, 1001, 'erfasst', 1, CURRENT_TIMESTAMP, 'x', 'x')" << false;
        QTest::newRow("chain entry appended out of order")
            << "EXECUTE PROCEDURE FINGERABDRUCK_ANHAENGEN (100000, 1001, 'erfasst', 1, CURRENT_TIMESTAMP, 'x', 'x')" << false;
        QTest::newRow("guard switched off") << "ALTER TRIGGER FINGERABDRUECKE_SCHUTZ INACTIVE" << false;
        QTest::newRow("guard dropped") << "DROP TRIGGER PRUEFUNGEN_VERSIONEN_SCHUTZ" << false;
        QTest::newRow("procedure dropped") << "DROP PROCEDURE FINGERABDRUCK_ANHAENGEN" << false;
        QTest::newRow("rights handed on") << "GRANT UPDATE ON FINGERABDRUECKE TO USER BERND" << false;
    }
    void evidenceClosedToWorkstationLogins()
    {
        QFETCH(QString, statement);
        QFETCH(bool, grantedByHand);
        try {
            attackEvidence(statement, grantedByHand);
        } catch (const EDatabaseError &e) {
            QFAIL(qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestServer)
#include "tst_server.moc"

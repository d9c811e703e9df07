#include "Database.h"
#include "FbApi.h"
#include "DbError.h"
#include "Formats.h"
#include "Query.h"
#include "ReadOnlyConnection.h"
#include "SmallDisk.h"
#include "TestDatabase.h"
#include <QtTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

// The connection, the transaction and plain statements against a real
// embedded database file.
class TestConnection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void createAttachAndEvents()
    {
        QStringList events;
        TTestDatabase t;
        QVERIFY(t.database.connected());
        QVERIFY(QFile::exists(t.path));
        t.database.afterConnect = [&](TDatabase &) { events << "connect"; };
        t.database.afterDisconnect = [&](TDatabase &) { events << "disconnect"; };
        t.database.close();
        QVERIFY(!t.database.connected());
        t.database.open();
        QCOMPARE(events, QStringList({"disconnect", "connect"}));
    }

    // A server that takes the connection and never answers is given up
    // with an error instead of holding the program.
    void silentServerIsGivenUp()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(listener >= 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0);
        QVERIFY(::listen(listener, 1) == 0); // the kernel completes the handshake; nobody answers
        QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        TDatabase db;
        db.setDatabaseName(QStringLiteral("127.0.0.1/%1:/srv/velmora.fdb").arg(ntohs(address.sin_port)));
        db.params = TTestDatabase::createParams();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.open());
        QVERIFY(!db.connected());
        ::close(listener);
    }

    void createStatementText()
    {
        TDatabase db;
        db.setDatabaseName("/tmp/x.fdb");
        db.params = TTestDatabase::createParams();
        QCOMPARE(db.createDatabaseStatement(),
                 QStringLiteral("CREATE DATABASE '/tmp/x.fdb' /* CREATE DATABASE */\nUSER 'SYSDBA'\nPASSWORD 'lindgrove'\n"
                                "DEFAULT CHARACTER SET UTF8\n/* SQLdialect 3 */\n"));
    }

    void missingFileGivesEngineText()
    {
        QTemporaryDir dir;
        TDatabase db;
        db.setDatabaseName(dir.filePath("missing.fdb"));
        db.params = TTestDatabase::connectionParams();
        try {
            db.open();
            QFAIL("opened a missing file");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.message().contains("missing.fdb"), qPrintable(e.message()));
        }
        QVERIFY(!db.connected());
    }

    void notADatabaseIsRefused()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("junk.fdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
        f.close();
        TDatabase db;
        db.setDatabaseName(f.fileName());
        db.params = TTestDatabase::connectionParams();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.open());
        QVERIFY(!db.connected());
    }

    void lockFolderIsPrivate_data()
    {
        QTest::addColumn<QString>("before"); // what lies at the folder's place
        QTest::newRow("nothing") << "missing";
        QTest::newRow("our folder, open to all") << "open";
        QTest::newRow("another user's folder") << "foreign";
    }
    void lockFolderIsPrivate()
    {
        QFETCH(QString, before);
        QTemporaryDir dir;
        const QString path = dir.filePath("velmora-sperren");
        if (before != "missing") {
            QVERIFY(QDir().mkdir(path));
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(0x7777)));
        }
        if (before == "foreign" && ::chown(QFile::encodeName(path).constData(), 65534, 65534) != 0)
            QSKIP("only root can give a folder to another user");
        const QString used = fb::privateFolder(path);
        QCOMPARE(used == path, before != "foreign");
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(used).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_uid, ::getuid());
        QCOMPARE(st.st_mode & 0777, 0700u);
        // The next run takes the same folder instead of making another.
        QCOMPARE(fb::privateFolder(path), used);
        if (used != path)
            QDir(used).removeRecursively();
    }

    // A database whose disk runs full says so in German, with the engine's
    // own words under it.
    void fullDiskIsNamedInGerman()
    {
        TSmallDisk disk(QStringLiteral("3m"));
        if (!disk.mounted())
            QSKIP("a small tmpfs cannot be mounted here");
        TDatabase db;
        TTransaction transaction(&db);
        db.setDatabaseName(disk.path + "/Voll.fdb");
        db.params = TTestDatabase::createParams();
        db.createDatabase();
        TQuery q(&db);
        q.setSql("CREATE TABLE T (TEXT VARCHAR(8000))");
        q.execQuery();
        transaction.commit();
        disk.fill();
        transaction.start();
        q.setSql("INSERT INTO T VALUES (:TEXT)");
        QString failure;
        try {
            for (int i = 0; i < 10000; ++i) {
                q.paramByName("TEXT").setAsString(QString(8000, QChar(u'a' + i % 26)));
                q.execQuery();
            }
            transaction.commit();
        } catch (const EDatabaseError &e) {
            failure = e.message();
        }
        QVERIFY2(failure.startsWith("Auf dem Datenträger der Datenbank ist nicht genug Platz."), qPrintable(failure));
        QVERIFY2(failure.section(u'\n', 1).contains("No space left on device"), qPrintable(failure));
        try {
            transaction.rollback();
            db.close();
        } catch (const EDatabaseError &) {
        }
    }

    void pathCannotChangeWhileConnected()
    {
        TTestDatabase t;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.database.setDatabaseName("/tmp/other.fdb"));
        QCOMPARE(t.database.databaseName(), t.path);
    }

    void transactionStates()
    {
        TTestDatabase t;
        t.exec("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20))");
        QVERIFY(!t.transaction->active());
        t.transaction->start();
        t.transaction->start(); // a second start is harmless
        QVERIFY(t.transaction->active());
        TQuery q(&t.database);
        q.setSql("INSERT INTO T (ID, NAME) VALUES (:ID, :NAME)");
        q.paramByName("ID").setAsInteger(1);
        q.paramByName("NAME").setAsString("eins");
        q.execQuery();
        t.transaction->commitRetaining();
        QVERIFY(t.transaction->active());
        q.param(0).setAsInteger(2);
        q.execQuery();
        t.transaction->rollback();
        QVERIFY(!t.transaction->active());
        t.reconnect();
        QCOMPARE(t.scalar("SELECT COUNT(*) FROM T"), qint64(1));
    }

    void namedParameters()
    {
        QStringList names;
        const QString sql = replaceNamedParams(
            "SELECT ':X' FROM T WHERE A =:a AND B = :OLD_B /* :C */ AND D = :a -- :E\n AND \"F:G\" = 1", &names);
        QCOMPARE(names, QStringList({"a", "OLD_B", "a"}));
        QCOMPARE(sql, QStringLiteral("SELECT ':X' FROM T WHERE A =? AND B = ? /* :C */ AND D = ? -- :E\n AND \"F:G\" = 1"));

        TTestDatabase t;
        TQuery q(&t.database);
        q.setSql("SELECT COUNT(*) FROM RDB$DATABASE WHERE :v = 1 AND :V + 1 = 2");
        QCOMPARE(q.paramCount(), 1); // one name, two places, any case
        q.paramByName("v").setAsInteger(1);
        q.execQuery();
        QCOMPARE(q.asInteger(0), qint64(1));
    }

    // Values reach the file and come back exactly.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("0.3") << "0,3";
        QTest::newRow("19.99") << "19,99";
        QTest::newRow("6.875") << "6,875";
        QTest::newRow("1234567.8901") << "1.234.567,8901";
        QTest::newRow("negative") << "-0,0001";
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        TTestDatabase t;
        t.exec("CREATE TABLE V (ID INTEGER NOT NULL PRIMARY KEY, WERT DECIMAL(18,4), NAME VARCHAR(40), "
               "BEM BLOB SUB_TYPE TEXT, AM TIMESTAMP)");
        const TDecimal value = *TDecimal::parse(text, 4, QLocale());
        const QString name = QStringLiteral("Prüfgerät Äöüß µ°");
        const QDateTime at(QDate(2024, 2, 29), QTime(23, 59, 58, 500));
        TQuery ins(&t.database);
        ins.setSql("INSERT INTO V VALUES (1, :W, :N, :B, :A)");
        ins.paramByName("W").setAsDecimal(value);
        ins.paramByName("N").setAsString(name);
        ins.paramByName("B").setAsString(name);
        ins.paramByName("A").setAsDateTime(at);
        ins.execQuery();
        t.transaction->commit();
        t.reconnect();

        TQuery sel(&t.database);
        sel.setSql("SELECT WERT, NAME, BEM, AM, CAST(WERT AS VARCHAR(30)) FROM V");
        sel.execQuery();
        QCOMPARE(sel.asDecimal(0), value);
        QCOMPARE(sel.asDecimal(0).units(), value.units());
        QCOMPARE(sel.asString(1), name);
        QCOMPARE(sel.asString(2), name);
        QCOMPARE(sel.asDateTime(3), at);
        QCOMPARE(sel.asString(4), formats::formatNumber(value, "0.0000", QLocale::c())); // the engine saw the same number
    }

    void largeTextBlob()
    {
        TTestDatabase t;
        t.exec("CREATE TABLE B (ID INTEGER NOT NULL PRIMARY KEY, BEM BLOB SUB_TYPE TEXT)");
        QString text;
        for (int i = 0; i < 20000; ++i)
            text += QStringLiteral("Zeile %1 äöü\n").arg(i); // well over one 64 KiB segment
        TQuery ins(&t.database);
        ins.setSql("INSERT INTO B VALUES (1, :BEM)");
        ins.paramByName("BEM").setAsString(text);
        ins.execQuery();
        t.transaction->commit();
        TQuery sel(&t.database);
        sel.setSql("SELECT BEM FROM B");
        sel.execQuery();
        QCOMPARE(sel.asString(0), text);
    }

    // The connection speaks UTF-8: names of every European spelling go in
    // and come back, a VARCHAR(20) holds twenty of their characters, and a
    // BLOB that is not text keeps its bytes.
    void textInAnyEuropeanSpellingRoundTrips_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *spelling : {"Yılmaz", "Łukasiewicz", "Dvořák", "€", "Müller & Söhne"})
            QTest::newRow(spelling) << QString::fromUtf8(spelling);
    }
    void textInAnyEuropeanSpellingRoundTrips()
    {
        QFETCH(QString, text);
        TTestDatabase t;
        t.exec("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20), BEM BLOB SUB_TYPE TEXT, "
               "BILD BLOB SUB_TYPE 0)");
        const QString full = text.leftJustified(20, text.back());
        QString bytes;
        for (int b = 0; b < 256; ++b)
            bytes += QChar(b);
        TQuery q(&t.database);
        q.setSql("INSERT INTO T VALUES (1, :N, :B, :BILD)");
        q.paramByName("N").setAsString(full);
        q.paramByName("B").setAsString(text);
        q.paramByName("BILD").setAsString(bytes);
        q.execQuery();
        t.transaction->commit();
        TQuery sel(&t.database);
        sel.setSql("SELECT NAME, BEM, BILD, CHAR_LENGTH(NAME) FROM T WHERE NAME = :N");
        sel.paramByName("N").setAsString(full);
        sel.execQuery();
        QCOMPARE(sel.asString(0), full);
        QCOMPARE(sel.asString(1), text);
        QCOMPARE(sel.asString(2), bytes);
        QCOMPARE(sel.asInteger(3), qint64(20));
    }

    void engineErrorKeepsItsText()
    {
        TTestDatabase t;
        TQuery q(&t.database);
        q.setSql("SELECT NOTHING FROM NOWHERE");
        try {
            q.execQuery();
            QFAIL("a wrong statement ran");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.message().contains("NOWHERE"), qPrintable(e.message()));
        }
    }

    void autoCommitAfterStatementWithoutRows()
    {
        TTestDatabase t;
        TQuery q(&t.database);
        q.autoCommit = true;
        q.setSql("CREATE TABLE T (ID INTEGER)");
        q.execQuery();
        QVERIFY(!t.transaction->active());
        q.setSql("INSERT INTO T VALUES (5)");
        q.execQuery(); // started again by itself
        QVERIFY(!t.transaction->active());
        t.reconnect();
        QCOMPARE(t.scalar("SELECT ID FROM T"), qint64(5));
    }

    void closeEndsTransactionAndKeepsCommittedWork()
    {
        TTestDatabase t;
        t.exec("CREATE TABLE T (ID INTEGER)");
        TQuery q(&t.database);
        q.setSql("INSERT INTO T VALUES (1)");
        q.execQuery();
        t.transaction->commitRetaining();
        t.database.close();
        QVERIFY(!t.transaction->active());
        QVERIFY(!q.prepared());
        t.database.open();
        QCOMPARE(t.scalar("SELECT COUNT(*) FROM T"), qint64(1));
    }
    // A read-only connection reads; the engine itself refuses every write
    // through it, and a read-write connection finds the data unchanged.
    void readOnlyConnectionRefusesWrites_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("insert") << "INSERT INTO T VALUES (2)";
        QTest::newRow("update") << "UPDATE T SET ID = 2";
        QTest::newRow("delete") << "DELETE FROM T";
        QTest::newRow("new table") << "CREATE TABLE U (ID INTEGER)";
    }
    void readOnlyConnectionRefusesWrites()
    {
        QFETCH(QString, statement);
        TTestDatabase t;
        t.exec("CREATE TABLE T (ID INTEGER)");
        t.exec("INSERT INTO T VALUES (1)");
        t.database.close();
        TDatabase reading;
        TTransaction readOnly(&reading);
        reading.params = TTestDatabase::connectionParams();
        reading.setDatabaseName(t.path);
        makeReadOnly(reading);
        reading.open();
        TQuery q(&reading);
        q.setSql("SELECT ID FROM T");
        q.execQuery();
        QCOMPARE(q.asInteger(0), qint64(1));
        q.close();
        q.setSql(statement);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.execQuery());
        readOnly.rollback();
        reading.close();
        t.database.open();
        QCOMPARE(t.scalar("SELECT COUNT(*) FROM T WHERE ID = 1"), qint64(1));
        QCOMPARE(t.scalar("SELECT COUNT(*) FROM T"), qint64(1));
        QCOMPARE(t.scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'U'"), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"

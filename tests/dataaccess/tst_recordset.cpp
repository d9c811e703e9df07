#include "DataSet.h"
#include "DataSource.h"
#include "DbError.h"
#include "Formats.h"
#include "TestDatabase.h"
#include <QtTest>
#include <memory>

namespace {

// Customers, devices and inspections, shaped like the program's own tables,
// with record sets declared the way the program declares them.
struct Fixture {
    TTestDatabase t;
    std::unique_ptr<TDataSet> kunden, geraete, pruefungen, pruefer;
    std::unique_ptr<TDataSource> dsrcKunden, dsrcGeraete;

    Fixture()
    {
        t.exec("CREATE TABLE KUNDEN (ID INTEGER NOT NULL PRIMARY KEY, AKTIV SMALLINT DEFAULT 1 NOT NULL, "
               "NAME VARCHAR(60) NOT NULL, BEMERKUNG BLOB SUB_TYPE TEXT, NAME_GROSS COMPUTED BY (UPPER(NAME)))");
        t.exec("CREATE TABLE GERAETE (ID INTEGER NOT NULL PRIMARY KEY, KUNDEN_ID INTEGER NOT NULL, "
               "BEZEICHNUNG VARCHAR(50), GRENZWERT0 DECIMAL(18,4) DEFAULT 0.3 NOT NULL, NUMMER DECIMAL(18,0), "
               "PRUEFER_ID INTEGER, AM TIMESTAMP)");
        t.exec("CREATE TABLE PRUEFER (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(50) NOT NULL)");
        t.exec("CREATE SEQUENCE SEQ_KUNDEN");
        t.exec("ALTER SEQUENCE SEQ_KUNDEN RESTART WITH 100");
        t.exec("CREATE SEQUENCE SEQ_GERAETE");
        t.exec("INSERT INTO KUNDEN (ID, NAME) VALUES (1, 'Bauer')");
        t.exec("INSERT INTO KUNDEN (ID, NAME, AKTIV) VALUES (2, 'Zahn', 0)");
        t.exec("INSERT INTO KUNDEN (ID, NAME) VALUES (3, 'Ärzte GmbH')");
        t.exec("INSERT INTO GERAETE (ID, KUNDEN_ID, BEZEICHNUNG, NUMMER, PRUEFER_ID) VALUES (10, 1, 'Drucker', 1, 7)");
        t.exec("INSERT INTO GERAETE (ID, KUNDEN_ID, BEZEICHNUNG, NUMMER, PRUEFER_ID) VALUES (11, 1, 'Radio', 2, 8)");
        t.exec("INSERT INTO GERAETE (ID, KUNDEN_ID, BEZEICHNUNG, NUMMER) VALUES (12, 2, 'Mikrowelle', 1)");
        t.exec("INSERT INTO PRUEFER VALUES (7, 'Meier')");
        t.exec("INSERT INTO PRUEFER VALUES (8, 'Ein sehr langer Prüfername über zwanzig Zeichen')");
        t.transaction->start();

        kunden = std::make_unique<TDataSet>(&t.database);
        kunden->setSelectSql("SELECT ID, AKTIV, NAME, BEMERKUNG, NAME_GROSS FROM KUNDEN ORDER BY ID");
        kunden->insertSql = {"INSERT INTO KUNDEN (ID, AKTIV, NAME, BEMERKUNG)", "VALUES (:ID, :AKTIV, :NAME, :BEMERKUNG)"};
        kunden->modifySql = {"UPDATE KUNDEN SET AKTIV = :AKTIV, NAME = :NAME, BEMERKUNG = :BEMERKUNG WHERE ID = :OLD_ID"};
        kunden->deleteSql = {"DELETE FROM KUNDEN WHERE ID = :OLD_ID"};
        kunden->refreshSql = {"SELECT ID, AKTIV, NAME, BEMERKUNG, NAME_GROSS FROM KUNDEN WHERE ID = :OLD_ID"};
        kunden->generatorName = "SEQ_KUNDEN";
        kunden->generatorField = "ID";
        kunden->addField("ID", TFieldType::Integer);
        TField *aktiv = kunden->addField("AKTIV", TFieldType::Boolean);
        aktiv->displayValues = "Ja;Nein";
        aktiv->defaultExpression = "True";
        kunden->addField("NAME", TFieldType::String, 60)->displayLabel = "Name";
        kunden->addField("BEMERKUNG", TFieldType::Memo);
        kunden->addField("NAME_GROSS", TFieldType::String, 60);
        dsrcKunden = std::make_unique<TDataSource>(nullptr, kunden.get());

        pruefer = std::make_unique<TDataSet>(&t.database);
        pruefer->setSelectSql("SELECT ID, NAME FROM PRUEFER");
        pruefer->addField("ID", TFieldType::Integer);
        pruefer->addField("NAME", TFieldType::String, 50);

        geraete = std::make_unique<TDataSet>(&t.database);
        geraete->setSelectSql("SELECT ID, KUNDEN_ID, BEZEICHNUNG, GRENZWERT0, NUMMER, PRUEFER_ID, AM FROM GERAETE "
                              "WHERE KUNDEN_ID = :ID ORDER BY BEZEICHNUNG");
        geraete->insertSql = {"INSERT INTO GERAETE (ID, KUNDEN_ID, BEZEICHNUNG, GRENZWERT0, NUMMER, PRUEFER_ID, AM) "
                              "VALUES (:ID, :KUNDEN_ID, :BEZEICHNUNG, :GRENZWERT0, :NUMMER, :PRUEFER_ID, :AM)"};
        geraete->modifySql = {"UPDATE GERAETE SET BEZEICHNUNG = :BEZEICHNUNG, GRENZWERT0 = :GRENZWERT0, "
                              "NUMMER = :NUMMER, AM = :AM WHERE ID = :OLD_ID"};
        geraete->deleteSql = {"DELETE FROM GERAETE WHERE ID = :OLD_ID"};
        geraete->refreshSql = {"SELECT ID, KUNDEN_ID, BEZEICHNUNG, GRENZWERT0, NUMMER, PRUEFER_ID, AM FROM GERAETE "
                               "WHERE KUNDEN_ID = :ID AND GERAETE.ID = :OLD_ID"};
        geraete->generatorName = "SEQ_GERAETE";
        geraete->generatorField = "ID";
        geraete->addField("ID", TFieldType::Integer);
        geraete->addField("KUNDEN_ID", TFieldType::Integer);
        geraete->addField("BEZEICHNUNG", TFieldType::String, 50);
        TField *grenz = geraete->addField("GRENZWERT0", TFieldType::Decimal, 4);
        grenz->displayFormat = "#,##0.00";
        grenz->editFormat = "0.0000";
        grenz->defaultExpression = "0,3000";
        geraete->addField("NUMMER", TFieldType::Decimal, 0);
        geraete->addField("PRUEFER_ID", TFieldType::Integer);
        geraete->addField("AM", TFieldType::DateTime)->displayFormat = "dd.mm.yyyy hh:mm";
        geraete->addLookupField("Pruefer", 20, pruefer.get(), "PRUEFER_ID", "ID", "NAME");
        geraete->setMasterSource(dsrcKunden.get());
        dsrcGeraete = std::make_unique<TDataSource>(nullptr, geraete.get());
    }
};

} // namespace

class TestRecordSet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void opensWithAllRowsAndNavigates()
    {
        Fixture f;
        f.kunden->open();
        QCOMPARE(f.kunden->recordCount(), 3);
        QVERIFY(f.kunden->bof());
        QCOMPARE(f.kunden->fieldByName("NAME")->asString(), QStringLiteral("Bauer"));
        f.kunden->next();
        f.kunden->next();
        QCOMPARE(f.kunden->recNo(), 3);
        QVERIFY(!f.kunden->eof());
        f.kunden->next();
        QVERIFY(f.kunden->eof());
        QCOMPARE(f.kunden->recNo(), 3);
        f.kunden->first();
        f.kunden->prior();
        QVERIFY(f.kunden->bof());
        QCOMPARE(f.kunden->moveBy(2), 2);
        f.kunden->last();
        QCOMPARE(f.kunden->fieldByName("NAME")->asString(), QStringLiteral("Ärzte GmbH"));
        QCOMPARE(f.kunden->fieldByName("AKTIV")->displayText(), QStringLiteral("Ja"));
        f.kunden->prior();
        QCOMPARE(f.kunden->fieldByName("AKTIV")->displayText(), QStringLiteral("Nein"));
        f.kunden->close();
        QCOMPARE(f.kunden->state(), TDataSetState::Inactive);
    }

    void keyDrawnWhenRowStartsAndConsumedByCancel()
    {
        Fixture f;
        f.kunden->open();
        QStringList order;
        f.kunden->onNewRecord = [&](TDataSet &d) {
            order << QStringLiteral("new:%1:%2").arg(d.fieldByName("ID")->asInteger()).arg(d.fieldByName("AKTIV")->asBoolean());
        };
        f.kunden->append();
        QCOMPARE(f.kunden->state(), TDataSetState::Insert);
        QCOMPARE(order, QStringList({"new:101:1"})); // key and defaults before the new-record event
        f.kunden->cancel();
        QCOMPARE(f.kunden->recordCount(), 3);
        f.kunden->append();
        QCOMPARE(f.kunden->fieldByName("ID")->asInteger(), qint64(102));
        f.kunden->fieldByName("NAME")->setAsString("Neu");
        f.kunden->post();
        QCOMPARE(f.t.scalar("SELECT MAX(ID) FROM KUNDEN"), qint64(102));
    }

    void commitRetainingKeepsSetsOpenAndReachesDisk()
    {
        Fixture f;
        f.kunden->open();
        f.pruefer->open();
        f.kunden->edit();
        f.kunden->fieldByName("NAME")->setAsString("Bäuerle");
        f.kunden->post();
        QVERIFY(f.t.transaction->active());
        QVERIFY(f.pruefer->active());
        QCOMPARE(f.pruefer->recordCount(), 2);
        QCOMPARE(f.kunden->recordCount(), 3);
        // A second connection-less look: detach and read the file again.
        f.t.reconnect();
        TQuery q(&f.t.database);
        q.setSql("SELECT NAME FROM KUNDEN WHERE ID = 1");
        q.execQuery();
        QCOMPARE(q.asString(0), QStringLiteral("Bäuerle"));
    }

    void refreshAfterPostShowsDatabaseValues()
    {
        Fixture f;
        f.kunden->open();
        f.kunden->append();
        f.kunden->fieldByName("NAME")->setAsString("müller");
        QVERIFY(f.kunden->fieldByName("NAME_GROSS")->isNull());
        f.kunden->post();
        QCOMPARE(f.kunden->fieldByName("NAME_GROSS")->asString(), QStringLiteral("MÜLLER"));
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
    }

    void masterDetailFollowsMaster()
    {
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        QCOMPARE(f.geraete->recordCount(), 2);
        QCOMPARE(f.geraete->paramByName("ID").value(), TValue(qint64(1)));
        f.kunden->next();
        QVERIFY(f.geraete->active());
        QCOMPARE(f.geraete->recordCount(), 1);
        QCOMPARE(f.geraete->fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Mikrowelle"));
        f.kunden->next();
        QCOMPARE(f.geraete->recordCount(), 0);
        f.kunden->close();
        QVERIFY(!f.geraete->active());
    }

    void refreshStatementTakesMasterParameter()
    {
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        f.geraete->edit();
        f.geraete->fieldByName("BEZEICHNUNG")->setAsString("Drucker 2");
        f.geraete->post();
        QCOMPARE(f.geraete->fieldByName("BEZEICHNUNG")->asString(), QStringLiteral("Drucker 2"));
        QCOMPARE(f.geraete->fieldByName("KUNDEN_ID")->asInteger(), qint64(1));
    }

    void decimalsExactThroughRecordSet_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0.3") << "0,3" << qint64(3000) << "0,30";
        QTest::newRow("19.99") << "19,99" << qint64(199900) << "19,99";
        QTest::newRow("6.875") << "6,875" << qint64(68750) << "6,88";
        QTest::newRow("1234567.8901") << "1234567,8901" << qint64(12345678901) << "1.234.567,89";
    }
    void decimalsExactThroughRecordSet()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, units);
        QFETCH(QString, shown);
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        f.geraete->append();
        QCOMPARE(f.geraete->fieldByName("GRENZWERT0")->asDecimal().units(), qint64(3000)); // default "0,3000"
        f.geraete->fieldByName("KUNDEN_ID")->setAsInteger(1);
        f.geraete->fieldByName("GRENZWERT0")->setEditText(typed);
        f.geraete->post();
        const qint64 id = f.geraete->fieldByName("ID")->asInteger();
        f.kunden->close();
        f.t.reconnect();
        f.kunden->open();
        QVERIFY(f.geraete->locate("ID", id));
        TField *g = f.geraete->fieldByName("GRENZWERT0");
        QCOMPARE(g->asDecimal().units(), units);
        QCOMPARE(g->displayText(), shown);
        QCOMPARE(g->editText(), formats::formatNumber(TDecimal(units, 4), "0.0000"));
    }

    void notANumberIsRefusedAndValueKept()
    {
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        f.geraete->edit();
        TField *g = f.geraete->fieldByName("GRENZWERT0");
        QString message;
        QVERIFY(!g->isValidText("0,3x", &message));
        QVERIFY2(message.contains(QStringLiteral("keine gültige Zahl")), qPrintable(message));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, g->setEditText("abc"));
        QCOMPARE(g->asDecimal().units(), qint64(3000));
        QCOMPARE(f.geraete->state(), TDataSetState::Edit);
    }

    void failedPostStaysInEditingAndWritesNothing()
    {
        Fixture f;
        f.kunden->open();
        f.kunden->append();
        f.kunden->fieldByName("BEMERKUNG")->setAsString("ohne Namen");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.kunden->post()); // NAME is NOT NULL
        QCOMPARE(f.kunden->state(), TDataSetState::Insert);
        QCOMPARE(f.kunden->fieldByName("BEMERKUNG")->asString(), QStringLiteral("ohne Namen"));
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN"), qint64(3));
        f.kunden->fieldByName("NAME")->setAsString("Nachgetragen");
        f.kunden->post();
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN"), qint64(4));
    }

    void changeOfVanishedRowIsRefused_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("update") << false;
        QTest::newRow("delete") << true;
    }
    void changeOfVanishedRowIsRefused()
    {
        QFETCH(bool, deleting);
        Fixture f;
        f.kunden->open();
        f.t.exec("DELETE FROM KUNDEN WHERE ID = 1"); // gone behind the record set's back
        try {
            if (deleting) {
                f.kunden->deleteRecord();
            } else {
                f.kunden->edit();
                f.kunden->fieldByName("NAME")->setAsString("Bauer & Söhne");
                f.kunden->post();
            }
            QFAIL("a change of no row counted as saved");
        } catch (const EDatabaseError &e) {
            QCOMPARE(e.message(), QStringLiteral("Der Datensatz wurde inzwischen gelöscht oder geändert."));
        }
        QCOMPARE(f.kunden->state(), deleting ? TDataSetState::Browse : TDataSetState::Edit);
        QCOMPARE(f.kunden->recordCount(), 3);
        f.t.reconnect();
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN"), qint64(2));
    }

    void failedCommitUndoesTheStatement_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("post") << false;
        QTest::newRow("delete") << true;
    }
    void failedCommitUndoesTheStatement()
    {
        QFETCH(bool, deleting);
        Fixture f;
        f.t.exec("CREATE EXCEPTION E_COMMIT 'Speichern abgelehnt'");
        f.t.exec("CREATE TRIGGER FAIL_ONE_COMMIT ON TRANSACTION COMMIT AS BEGIN "
                 "IF (RDB$GET_CONTEXT('USER_SESSION', 'FAIL_COMMIT') = '1') THEN BEGIN "
                 "RDB$SET_CONTEXT('USER_SESSION', 'FAIL_COMMIT', NULL); EXCEPTION E_COMMIT; END END");
        f.kunden->open();
        f.t.scalar("SELECT RDB$SET_CONTEXT('USER_SESSION', 'FAIL_COMMIT', '1') FROM RDB$DATABASE");
        try {
            if (deleting) {
                f.kunden->deleteRecord();
            } else {
                f.kunden->append();
                f.kunden->fieldByName("NAME")->setAsString("Verworfen");
                f.kunden->post();
            }
            QFAIL("a failed commit counted as saved");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.message().contains("Speichern abgelehnt"), qPrintable(e.message()));
        }
        QCOMPARE(f.kunden->state(), deleting ? TDataSetState::Browse : TDataSetState::Insert);
        QCOMPARE(f.kunden->recordCount(), deleting ? 3 : 4);
        f.kunden->cancel(); // the user gives up the row
        // The next change commits normally and takes nothing of the failed one along.
        f.kunden->first();
        f.kunden->edit();
        f.kunden->fieldByName("NAME")->setAsString("Bauer neu");
        f.kunden->post();
        f.t.reconnect();
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN WHERE NAME = 'Verworfen'"), qint64(0));
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN"), qint64(3));
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN WHERE NAME = 'Bauer neu'"), qint64(1));
    }

    void refusedFieldChangeKeepsOldValue()
    {
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        TField *g = f.geraete->fieldByName("GRENZWERT0");
        int changes = 0;
        g->onChange = [&](TField &field) {
            ++changes;
            if (field.asDecimal() > TDecimal(1, 0))
                abortSilently();
        };
        f.geraete->edit();
        g->setAsDecimal(TDecimal(5, 1));
        QVERIFY_THROWS_EXCEPTION(EAbort, g->setAsDecimal(TDecimal(101, 2)));
        QCOMPARE(g->asDecimal(), TDecimal(5, 1));
        g->setAsDecimal(TDecimal(100, 2)); // exactly 1.00 is fine
        QCOMPARE(changes, 3);
        f.geraete->cancel();
        QCOMPARE(g->asDecimal(), TDecimal(3, 1));
    }

    void eventOrder()
    {
        Fixture f;
        QStringList order;
        auto log = [&](const char *name) { return [&order, name](TDataSet &) { order << name; }; };
        f.kunden->beforeOpen = log("beforeOpen");
        f.kunden->afterOpen = log("afterOpen");
        f.kunden->afterScroll = log("afterScroll");
        f.kunden->beforeInsert = log("beforeInsert");
        f.kunden->onNewRecord = log("newRecord");
        f.kunden->afterInsert = log("afterInsert");
        f.kunden->beforePost = log("beforePost");
        f.kunden->afterPost = log("afterPost");
        f.kunden->beforeDelete = log("beforeDelete");
        f.kunden->afterDelete = log("afterDelete");
        f.kunden->afterCancel = log("afterCancel");
        f.dsrcKunden->onStateChange = [&](TDataSource &s) { order << QStringLiteral("state:%1").arg(int(s.state())); };
        f.kunden->open();
        f.kunden->next();
        f.kunden->append();
        f.kunden->fieldByName("NAME")->setAsString("X");
        f.kunden->post();
        f.kunden->deleteRecord();
        f.kunden->insert();
        f.kunden->cancel();
        QCOMPARE(order, QStringList({"beforeOpen", "state:1", "afterOpen", "afterScroll", "afterScroll",
                                     "beforeInsert", "state:3", "newRecord", "afterInsert", "afterScroll",
                                     "beforePost", "state:1", "afterPost",
                                     "beforeDelete", "afterDelete", "afterScroll",
                                     "beforeInsert", "state:3", "newRecord", "afterInsert", "afterScroll",
                                     "state:1", "afterCancel", "afterScroll"}));
    }

    void deleteCommitsAndKeepsPosition()
    {
        Fixture f;
        f.kunden->open();
        f.kunden->next();
        f.kunden->deleteRecord();
        QCOMPARE(f.kunden->recordCount(), 2);
        QCOMPARE(f.kunden->fieldByName("NAME")->asString(), QStringLiteral("Ärzte GmbH"));
        f.t.reconnect();
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN"), qint64(2));
    }

    void editOnEmptySetInserts()
    {
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        f.kunden->last(); // Ärzte GmbH has no devices
        QVERIFY(f.geraete->isEmpty());
        f.geraete->edit();
        QCOMPARE(f.geraete->state(), TDataSetState::Insert);
    }

    void movingAwayPostsPendingChanges()
    {
        Fixture f;
        f.kunden->open();
        f.kunden->edit();
        f.kunden->fieldByName("NAME")->setAsString("Bauer & Söhne");
        f.kunden->next();
        QCOMPARE(f.kunden->state(), TDataSetState::Browse);
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN WHERE NAME = 'Bauer & Söhne'"), qint64(1));
        // An untouched new row is dropped on a move.
        f.kunden->append();
        f.kunden->first();
        QCOMPARE(f.kunden->recordCount(), 3);
    }

    void memoReadWhenNeededAndWritten()
    {
        Fixture f;
        f.t.exec("UPDATE KUNDEN SET BEMERKUNG = 'Hinweis: Zählerschrank' WHERE ID = 1");
        f.kunden->open();
        QCOMPARE(f.kunden->fieldByName("BEMERKUNG")->asString(), QStringLiteral("Hinweis: Zählerschrank"));
        f.kunden->edit();
        f.kunden->fieldByName("BEMERKUNG")->setAsString(QString(70000, u'ä'));
        f.kunden->post();
        f.kunden->close();
        f.kunden->open();
        QCOMPARE(f.kunden->fieldByName("BEMERKUNG")->asString(), QString(70000, u'ä'));
        f.kunden->edit();
        f.kunden->fieldByName("BEMERKUNG")->setAsString(QString());
        f.kunden->post();
        QCOMPARE(f.t.scalar("SELECT COUNT(*) FROM KUNDEN WHERE ID = 1 AND BEMERKUNG IS NULL"), qint64(1));
    }

    void textRules()
    {
        Fixture f;
        f.kunden->open();
        f.kunden->edit();
        TField *name = f.kunden->fieldByName("NAME");
        name->setAsString(QString(80, u'x'));
        QCOMPARE(name->asString().size(), 60); // cut to the column's size
        name->setAsString(QString());
        QVERIFY(name->isNull()); // empty text is stored as null
        name->setAsString(QStringLiteral("Kunde ☺ Łukasiewicz")); // any character the connection's UTF-8 holds
        QCOMPARE(name->asString(), QStringLiteral("Kunde ☺ Łukasiewicz"));
    }

    void filterHandler()
    {
        Fixture f;
        f.kunden->onFilterRecord = [](TDataSet &d, bool &accept) { accept = d.fieldByName("AKTIV")->asBoolean(); };
        f.kunden->open();
        QCOMPARE(f.kunden->recordCount(), 3);
        f.kunden->setFiltered(true);
        QCOMPARE(f.kunden->recordCount(), 2);
        f.kunden->tag = 2;
        f.kunden->onFilterRecord = [](TDataSet &d, bool &accept) { accept = d.tag == 2 && !d.fieldByName("AKTIV")->asBoolean(); };
        f.kunden->refresh();
        QCOMPARE(f.kunden->recordCount(), 1);
        QCOMPARE(f.kunden->fieldByName("NAME")->asString(), QStringLiteral("Zahn"));
    }

    void lookupAndCalculatedFields()
    {
        Fixture f;
        TField *upper = f.kunden->addCalculatedField("Kurz", TFieldType::String, 3);
        Q_UNUSED(upper);
        int calculations = 0;
        f.kunden->onCalcFields = [&](TDataSet &d) {
            ++calculations;
            d.fieldByName("Kurz")->setAsString(d.fieldByName("NAME")->asString() + "-Kunde");
        };
        f.pruefer->open();
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        QCOMPARE(calculations, 3);
        QCOMPARE(f.kunden->fieldByName("Kurz")->asString(), QStringLiteral("Bau")); // cut to its width
        QCOMPARE(f.geraete->fieldByName("Pruefer")->asString(), QStringLiteral("Meier"));
        f.geraete->next();
        QCOMPARE(f.geraete->fieldByName("Pruefer")->asString(), QStringLiteral("Ein sehr langer Prüf"));
        f.kunden->edit();
        f.kunden->fieldByName("NAME")->setAsString("Xaver");
        QCOMPARE(f.kunden->fieldByName("Kurz")->asString(), QStringLiteral("Xav")); // follows the change at once
    }

    void prefixSearch()
    {
        Fixture f;
        f.kunden->open();
        QVERIFY(f.kunden->locatePrefix("NAME", "ä", false));
        QCOMPARE(f.kunden->recNo(), 3);
        QVERIFY(f.kunden->locatePrefix("NAME", "Z", false));
        QCOMPARE(f.kunden->recNo(), 2);
        QVERIFY(!f.kunden->locatePrefix("NAME", "z", true)); // nothing after the current row
        QCOMPARE(f.kunden->recNo(), 2);
        QVERIFY(f.kunden->locatePrefix("ID", "3", false));
        QCOMPARE(f.kunden->recNo(), 3);
    }

    void dateTimeField()
    {
        Fixture f;
        f.kunden->afterOpen = [&](TDataSet &) { f.geraete->open(); };
        f.kunden->open();
        f.geraete->edit();
        const QDateTime at(QDate(2024, 1, 31), QTime(9, 5));
        f.geraete->fieldByName("AM")->setAsDateTime(at);
        f.geraete->post();
        QCOMPARE(f.geraete->fieldByName("AM")->displayText(), QStringLiteral("31.01.2024 09:05"));
        QCOMPARE(f.geraete->fieldByName("AM")->asDateTime(), at);
    }

    void dataSourceSwitchesRecordSet()
    {
        Fixture f;
        f.kunden->open();
        f.pruefer->open();
        struct Link : TDataLink {
            int changes = 0;
            void activeChanged() override { ++changes; }
        } link;
        TDataSource source(nullptr, f.kunden.get());
        link.setDataSource(&source);
        const int before = link.changes;
        source.setDataSet(f.pruefer.get());
        QCOMPARE(link.changes, before + 1);
        QCOMPARE(link.dataSet(), f.pruefer.get());
        QVERIFY(!link.edit()); // the inspectors set here has no change statements
    }

    void disconnectClosesRecordSets()
    {
        Fixture f;
        f.kunden->open();
        f.pruefer->open();
        f.t.database.close();
        QVERIFY(!f.kunden->active());
        QVERIFY(!f.pruefer->active());
        QVERIFY(!f.t.transaction->active());
        f.t.database.open();
        f.kunden->open(); // statements are prepared anew
        QCOMPARE(f.kunden->recordCount(), 3);
    }
};

QTEST_GUILESS_MAIN(TestRecordSet)
#include "tst_recordset.moc"

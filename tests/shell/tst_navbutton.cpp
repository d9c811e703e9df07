#include "DBNavButton.h"
#include "DataSet.h"
#include "DbError.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include <QtTest>
#include <memory>

namespace {

// A small changeable record set with two buttons of every style on it.
struct Fixture {
    TTestDatabase t;
    TDataSet set{&t.database};
    TDataSource source{nullptr, &set};
    std::map<TNavBtnStyle, std::unique_ptr<TDBNavButton>> buttons;
    Fixture()
    {
        t.exec("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20) NOT NULL)");
        t.exec("CREATE SEQUENCE SEQ_T");
        set.setSelectSql("SELECT ID, NAME FROM T ORDER BY ID");
        set.insertSql = {"INSERT INTO T (ID, NAME) VALUES (:ID, :NAME)"};
        set.modifySql = {"UPDATE T SET NAME = :NAME WHERE ID = :OLD_ID"};
        set.deleteSql = {"DELETE FROM T WHERE ID = :OLD_ID"};
        set.generatorName = "SEQ_T";
        set.generatorField = "ID";
        set.addField("ID", TFieldType::Integer);
        set.addField("NAME", TFieldType::String, 20);
        for (int s = nbsFirst; s <= nbsRefresh; ++s) {
            auto b = std::make_unique<TDBNavButton>();
            b->setButtonStyle(TNavBtnStyle(s));
            b->setDataSource(&source);
            buttons[TNavBtnStyle(s)] = std::move(b);
        }
    }
    // The enabled buttons, as a string of style numbers.
    QString enabled() const
    {
        QString s;
        for (const auto &[style, b] : buttons)
            if (b->isEnabled())
                s += QString::number(style) + ' ';
        return s.trimmed();
    }
};

} // namespace

class TestNavButton : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void enabledStates()
    {
        Fixture f;
        QCOMPARE(f.enabled(), QString()); // closed: all disabled
        f.set.open(); // empty
        QCOMPARE(f.enabled(), QStringLiteral("4 5 7 10")); // append, insert, edit, refresh; no delete
        f.set.append();
        QCOMPARE(f.enabled(), QStringLiteral("0 1 2 3 4 5 6 8 9 10")); // the new row: moves, post, cancel; no edit
        f.set.fieldByName("NAME")->setAsString("a");
        f.set.post();
        QCOMPARE(f.enabled(), QStringLiteral("0 1 2 3 4 5 6 7 10")); // one row, not at an end: delete and moves
        f.set.append();
        f.set.fieldByName("NAME")->setAsString("b");
        f.set.post();
        f.set.first();
        QCOMPARE(f.enabled(), QStringLiteral("2 3 4 5 6 7 10")); // at the first row: next, last
        f.set.last();
        QCOMPARE(f.enabled(), QStringLiteral("0 1 4 5 6 7 10"));
        f.set.edit();
        f.set.cancel();
        QCOMPARE(f.buttons[nbsEdit]->isEnabled(), true);
        f.set.close();
        QCOMPARE(f.enabled(), QString());
        f.set.open();
        QVERIFY(f.buttons[nbsDelete]->isEnabled());
    }

    void noFocusAndDefaultPicture()
    {
        TDBNavButton b;
        QCOMPARE(b.focusPolicy(), Qt::NoFocus);
        QCOMPARE(TDBNavButton::pictureName(nbsRefresh), QStringLiteral("DBNX_REFRESH"));
        QVERIFY(!b.icon().isNull());
    }

    void deleteAsksAndCancelStillCallsOnClick()
    {
        Fixture f;
        f.t.exec("INSERT INTO T VALUES (1, 'x')");
        f.set.open();
        TScriptedDialogs dialogs;
        QStringList calls;
        TDBNavButton &del = *f.buttons[nbsDelete];
        del.BeforeAction = [&](TDBNavButton *) { calls << "before"; };
        del.OnClick = [&](TDBNavButton *) { calls << "click"; };
        dialogs.answers.enqueue(IDialogs::Answer::Cancel);
        QTest::mouseClick(&del, Qt::LeftButton);
        QCOMPARE(dialogs.messages(), QStringList{"Datensatz löschen?"});
        QCOMPARE(f.set.recordCount(), 1);
        QCOMPARE(calls, QStringList({"before", "click"}));
        dialogs.answers.enqueue(IDialogs::Answer::Ok);
        QTest::mouseClick(&del, Qt::LeftButton);
        QCOMPARE(f.set.recordCount(), 0);
        QVERIFY(!del.isEnabled());
        del.ConfirmDelete = false;
        f.t.exec("INSERT INTO T VALUES (2, 'y')");
        f.set.refresh();
        dialogs.clear();
        QTest::mouseClick(&del, Qt::LeftButton);
        QCOMPARE(f.set.recordCount(), 0);
        QCOMPARE(dialogs.messages(), QStringList());
    }

    void withoutOpenRecordSetOnlyOnClick()
    {
        Fixture f;
        int clicks = 0;
        TDBNavButton &append = *f.buttons[nbsAppend];
        append.OnClick = [&](TDBNavButton *) { ++clicks; };
        append.BtnClick(); // closed record set
        QCOMPARE(clicks, 1);
        QCOMPARE(f.set.state(), TDataSetState::Inactive);
        TDBNavButton loose;
        loose.OnClick = [&](TDBNavButton *) { ++clicks; };
        loose.BtnClick(); // no data source
        QCOMPARE(clicks, 2);
    }

    void failingActionSkipsOnClick()
    {
        Fixture f;
        f.set.open();
        f.set.append(); // NAME stays empty, which the table refuses
        int clicks = 0;
        f.buttons[nbsPost]->OnClick = [&](TDBNavButton *) { ++clicks; };
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, f.buttons[nbsPost]->BtnClick());
        QCOMPARE(clicks, 0);
        QCOMPARE(f.set.state(), TDataSetState::Insert);
    }

    // There is nothing to edit: the button starts no new row.
    void editOnEmptySetDoesNothing()
    {
        Fixture f;
        f.set.open();
        f.buttons[nbsEdit]->BtnClick();
        QCOMPARE(f.set.state(), TDataSetState::Browse);
        QVERIFY(f.set.isEmpty());
    }
};

QTEST_MAIN(TestNavButton)
#include "tst_navbutton.moc"

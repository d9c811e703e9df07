#pragma once
// The running program for window tests: settings that name a database file
// in a temporary folder, the demo database there (changed by the given
// statements), scripted dialogs, optionally a fixed clock, and every window
// of the run. Destroying it ends the program.
#include "AppHome.h"
#include "Clock.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "UDM.h"
#include "UProgram.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

struct TRunningProgram {
    TAppHome home;
    TScriptedDialogs dialogs;
    TProgram program;

    struct NoDatabase {};

    explicit TRunningProgram(const QStringList &changes = {}, const QDateTime &now = {})
    {
        TClock::setFixedNow(now); // an invalid time means the real clock
        home.createDatabase(changes);
        program.create();
    }
    // Starts with settings that name a file that does not exist yet.
    explicit TRunningProgram(NoDatabase)
    {
        TClock::setFixedNow(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        program.create();
    }
    ~TRunningProgram()
    {
        program.destroy();
        TClock::setFixedNow(QDateTime());
    }

    // A row of the database, read through a connection of its own after the
    // program has committed.
    qint64 scalar(const QString &sql)
    {
        TQuery q(&frmDM->Database);
        q.setSql(sql);
        q.execQuery();
        const qint64 value = q.eof() || q.isNull(0) ? -1 : q.asInteger(0);
        q.close();
        return value;
    }
    QString text(const QString &sql)
    {
        TQuery q(&frmDM->Database);
        q.setSql(sql);
        q.execQuery();
        const QString value = q.eof() || q.isNull(0) ? QStringLiteral("<null>") : q.asString(0);
        q.close();
        return value;
    }

    static void type(QLineEdit *edit, const QString &text)
    {
        edit->window()->activateWindow();
        edit->setFocus();
        QApplication::processEvents(); // the focus may change what the field shows
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Clicks a row of a list as the user does.
    static void clickRow(QAbstractItemView *view, int row, int column = 1)
    {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

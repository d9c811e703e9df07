#pragma once
// The running program for window tests: settings that name a database file
// in a temporary folder, the demo database there (changed by the given
// statements), scripted dialogs, optionally a fixed clock, and every window
// of the run. Destroying it ends the program. Tests reach the windows'
// widgets by their object names, as a user reaches them by their labels.
#include "AppHome.h"
#include "Clock.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "UDM.h"
#include "UProgram.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>
#include <functional>

struct TRunningProgram {
    TAppHome home;
    TScriptedDialogs dialogs;
    TProgram program;

    struct NoDatabase {};
    // Makes the database file and settings the program starts with.
    using Preparation = std::function<void(TAppHome &)>;

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
    // Starts on a home the test prepared itself: a file of its own making,
    // remembered settings.
    explicit TRunningProgram(const Preparation &prepare, const QDateTime &now = {})
    {
        TClock::setFixedNow(now);
        prepare(home);
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

    // Types over a field's text without confirming it.
    static void typeWithoutReturn(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // The widget or action of that object name and type in one window.
    template<class W = QWidget>
    static W *find(const QWidget *window, const char *objectName)
    {
        return only(named<W>(window, objectName), objectName);
    }
    // The one of that object name and type in all windows of the run.
    template<class W = QWidget>
    static W *find(const char *objectName)
    {
        QList<W *> found;
        for (QWidget *window : QApplication::topLevelWidgets())
            found << named<W>(window, objectName);
        return only(found, objectName);
    }
    // Clicks a button as the user does.
    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void click(const QWidget *window, const char *objectName) { click(find<QAbstractButton>(window, objectName)); }
    static void click(const char *objectName) { click(find<QAbstractButton>(objectName)); }

private:
    // Those in the window itself, not in a window it owns.
    template<class W>
    static QList<W *> named(const QWidget *window, const char *objectName)
    {
        QList<W *> inWindow;
        for (W *candidate : window->findChildren<W *>(QString::fromLatin1(objectName)))
            if (windowOf(candidate) == window)
                inWindow << candidate;
        return inWindow;
    }
    // A menu belongs to the window of its menu bar.
    static const QWidget *windowOf(const QObject *object)
    {
        while (object && !object->isWidgetType())
            object = object->parent();
        const QWidget *window = object ? static_cast<const QWidget *>(object)->window() : nullptr;
        while (qobject_cast<const QMenu *>(window) && window->parentWidget())
            window = window->parentWidget()->window();
        return window;
    }
    // A misspelt or ambiguous name is a fault of the test: it ends the run
    // with the name rather than crashing on a null pointer later.
    template<class W>
    static W *only(const QList<W *> &found, const char *objectName)
    {
        if (found.size() != 1)
            qFatal("%lld widgets named %s of type %s", qlonglong(found.size()), objectName, W::staticMetaObject.className());
        return found.constFirst();
    }
};

// The date field of its own: reads what a date field of a record set reads,
// takes the date on Enter or when left, refuses a text that is no date.
#include "Clock.h"
#include "DateField.h"
#include "Field.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include <QApplication>
#include <QCalendarWidget>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {
struct DateForm {
    TScriptedDialogs dialogs;
    QWidget window;
    DateField *date = new DateField(&window);
    QLineEdit *other = new QLineEdit(&window);

    DateForm()
    {
        TClock::setFixedNow(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(date);
        layout->addWidget(other);
        date->setDate(QDate(2026, 12, 10));
        window.show();
        window.activateWindow();
    }
    ~DateForm() { TClock::setFixedNow(QDateTime()); }
    // Types over the selected date.
    void typeOver(const QString &text)
    {
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, text);
    }
};
} // namespace

class TestDateField : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void readsWhatDateFieldsRead_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("taken"); // invalid: refused
        QTest::newRow("two-digit year") << "31.12.27" << QDate(2027, 12, 31);
        QTest::newRow("four-digit year") << "31.12.2027" << QDate(2027, 12, 31);
        QTest::newRow("single digits") << "1.2.27" << QDate(2027, 2, 1);
        QTest::newRow("last century nearer") << "1.2.98" << QDate(1998, 2, 1);
        QTest::newRow("with a time") << "31.12.2027 14:30" << QDate(2027, 12, 31);
        QTest::newRow("without dots") << "311227" << QDate();
        QTest::newRow("no such month") << "31.13.27" << QDate();
        QTest::newRow("no year") << "31.12." << QDate();
        QTest::newRow("no 29 February") << "29.02.2027" << QDate();
    }

    void readsWhatDateFieldsRead()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, taken);
        DateForm f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        TField recordField(nullptr, QStringLiteral("NEXT_PRUEFDATUM"), TFieldType::DateTime, 0, TFieldKind::Data);
        QCOMPARE(recordField.isValidText(typed), taken.isValid());
        QSignalSpy chosen(f.date, &DateField::dateChosen);
        f.typeOver(typed);
        QTest::keyClick(f.date, Qt::Key_Return);
        if (taken.isValid()) {
            QCOMPARE(f.date->date(), taken);
            QCOMPARE(f.date->text(), taken.toString("dd.MM.yyyy"));
            QCOMPARE(chosen.count(), 1);
            QCOMPARE(f.dialogs.messages(), QStringList());
        } else {
            QCOMPARE(f.dialogs.beeps(), 1);
            QCOMPARE(f.dialogs.messages(), QStringList{QStringLiteral("\u201E%1\u201C ist kein gültiges Datum.").arg(typed)});
            QCOMPARE(f.date->date(), QDate(2026, 12, 10));
            QCOMPARE(f.date->text(), QStringLiteral("10.12.2026"));
            QCOMPARE(chosen.count(), 0);
        }
    }

    void takenWhenLeftNotWhileTyping()
    {
        DateForm f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QSignalSpy chosen(f.date, &DateField::dateChosen);
        f.typeOver("31.12.27");
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(f.date->date(), QDate(2026, 12, 10));
        QTest::keyClick(f.date, Qt::Key_Tab);
        QVERIFY(f.other->hasFocus());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(f.date->date(), QDate(2027, 12, 31));
        QCOMPARE(f.date->text(), QStringLiteral("31.12.2027"));
    }

    void emptiedFieldShowsItsDateAgain()
    {
        DateForm f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.typeOver("");
        QTest::keyClick(f.date, Qt::Key_Delete);
        QTest::keyClick(f.date, Qt::Key_Return);
        QCOMPARE(f.date->text(), QStringLiteral("10.12.2026"));
        QCOMPARE(f.dialogs.messages(), QStringList());
    }

    void calendarPickIsTaken()
    {
        DateForm f;
        QSignalSpy chosen(f.date, &DateField::dateChosen);
        QTest::keyClick(f.date, Qt::Key_F4);
        QVERIFY(f.date->calendarWidget()->isVisible());
        QCOMPARE(f.date->calendarWidget()->selectedDate(), QDate(2026, 12, 10));
        emit f.date->calendarWidget()->clicked(QDate(2027, 1, 15));
        QVERIFY(!f.date->calendarWidget()->isVisible());
        QCOMPARE(f.date->text(), QStringLiteral("15.01.2027"));
        QCOMPARE(chosen.count(), 1);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestDateField test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_datefield.moc"

#pragma once
#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// A date field of its own, bound to no record set, that reads what the
// program's date fields read ("31.12.27", "31.12.2027", see DateText.h) and
// shows the date as dd.MM.yyyy. The typed date is taken on Enter or when the
// field is left, not at every key; a text that is no date is refused with a
// beep and a message, and the last good date comes back. Alt+Down, F4 or the
// arrow in the field open a calendar.
class DateField : public QLineEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    // Shows the date without announcing it as chosen.
    void setDate(const QDate &date);
    QCalendarWidget *calendarWidget() const { return m_calendar; }

signals:
    // The user took a date other than the one shown before.
    void dateChosen(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void takeTypedText();
    void take(const QDate &date);
    void showCalendar();

    QDate m_date;
    QCalendarWidget *m_calendar;
};

#include "DateField.h"
#include "Clock.h"
#include "DateText.h"
#include "Dialogs.h"
#include <QAction>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {
const QString kShownFormat = QStringLiteral("dd.MM.yyyy");

// The down arrow of the platform's style, as the icon that opens the calendar.
QIcon arrowIcon(const QWidget *field)
{
    QPixmap arrow(12, 12);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    QStyleOption option;
    option.initFrom(field);
    option.rect = arrow.rect();
    field->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, field);
    return QIcon(arrow);
}
} // namespace

DateField::DateField(QWidget *parent) : QLineEdit(parent), m_calendar(new QCalendarWidget(this))
{
    m_calendar->setWindowFlag(Qt::Popup);
    // The program speaks German, its calendar too.
    m_calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_calendar->hide();
    QAction *open = addAction(arrowIcon(this), QLineEdit::TrailingPosition);
    open->setToolTip(QStringLiteral("Kalender"));
    connect(open, &QAction::triggered, this, &DateField::showCalendar);
    for (auto chosen : {&QCalendarWidget::clicked, &QCalendarWidget::activated})
        connect(m_calendar, chosen, this, [this](QDate date) {
            m_calendar->hide();
            take(date);
        });
    setDate(TClock::today());
}

void DateField::setDate(const QDate &date)
{
    m_date = date;
    setText(date.toString(kShownFormat));
}

void DateField::take(const QDate &date)
{
    const bool changed = date != m_date;
    setDate(date);
    if (changed)
        emit dateChosen(date);
}

void DateField::takeTypedText()
{
    const QString typed = text();
    if (typed == m_date.toString(kShownFormat))
        return;
    if (typed.trimmed().isEmpty()) {
        setDate(m_date);
        return;
    }
    if (const auto read = datetext::read(typed)) {
        take(read->date());
        return;
    }
    dialogs().beep();
    dialogs().message(datetext::fault(typed), IDialogs::Icon::Error);
    setDate(m_date);
    selectAll();
}

void DateField::showCalendar()
{
    m_calendar->setSelectedDate(m_date);
    m_calendar->adjustSize();
    m_calendar->move(mapToGlobal(rect().bottomLeft()));
    m_calendar->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void DateField::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        takeTypedText();
        break;
    case Qt::Key_F4:
        showCalendar();
        return;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier) {
            showCalendar();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void DateField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // The calendar, a context menu or a message box taking the focus does
    // not end the input.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        takeTypedText();
}

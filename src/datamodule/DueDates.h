#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// How far ahead the due list looks. Every horizon includes what is overdue.
enum class TDueHorizon { Overdue, EndOfMonth, Days30, Days60, Days90, UntilDate };

// The last day a horizon reaches from today; chosen is the day of UntilDate.
// Overdue reaches yesterday: a device due today is not yet overdue.
QDate dueHorizonEnd(TDueHorizon horizon, const QDate &today, const QDate &chosen = {});
// The German name of a horizon as the window offers it.
QString dueHorizonName(TDueHorizon horizon);

// The horizon as a report prints it: its name and the last day it reaches.
QString dueHorizonText(TDueHorizon horizon, const QDate &today, const QDate &chosen = {});
// "in 45 Tagen (bis 24.01.2027)"
QString dueWithinDaysText(int days, const QDate &today);
// "bis zum 15.02.2027"
QString dueUntilText(const QDate &until);

// One active device of an active customer with the next inspection date of
// its latest inspection; an empty date for a device never inspected, which
// is due now and counts as overdue.
struct TDueDevice {
    int kundeId = 0;
    QString kundeName;
    int prueflingId = 0;
    QString bezeichnung;
    QString nummer;
    QString ort;
    QDate nextDate;
    bool neverInspected() const { return !nextDate.isValid(); }
    bool overdueOn(const QDate &today) const { return neverInspected() || nextDate < today; }
};

// Days ahead in which a device counts as due soon: the status bar's count
// and the device grid's mark.
inline constexpr int kDueSoonDays = 30;

// What is due of one customer: overdue, and due from today within 30 days.
struct TDueCounts {
    int overdue = 0;
    int within30Days = 0;
};
// Counts the devices of a list as the status bar shows them.
TDueCounts countDue(const QList<TDueDevice> &devices, const QDate &today);
// "n überfällig, m in 30 Tagen"
QString dueCountsText(const TDueCounts &counts);

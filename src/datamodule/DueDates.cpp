#include "DueDates.h"

QDate dueHorizonEnd(TDueHorizon horizon, const QDate &today, const QDate &chosen)
{
    switch (horizon) {
    case TDueHorizon::Overdue:
        return today.addDays(-1);
    case TDueHorizon::EndOfMonth:
        return QDate(today.year(), today.month(), today.daysInMonth());
    case TDueHorizon::Days30:
        return today.addDays(30);
    case TDueHorizon::Days60:
        return today.addDays(60);
    case TDueHorizon::Days90:
        return today.addDays(90);
    case TDueHorizon::UntilDate:
        return chosen;
    }
    return today;
}

QString dueHorizonName(TDueHorizon horizon)
{
    switch (horizon) {
    case TDueHorizon::Overdue:
        return QStringLiteral("überfällig");
    case TDueHorizon::EndOfMonth:
        return QStringLiteral("bis Monatsende");
    case TDueHorizon::Days30:
        return QStringLiteral("in 30 Tagen");
    case TDueHorizon::Days60:
        return QStringLiteral("in 60 Tagen");
    case TDueHorizon::Days90:
        return QStringLiteral("in 90 Tagen");
    case TDueHorizon::UntilDate:
        return QStringLiteral("bis Datum");
    }
    return {};
}

namespace {
QString day(const QDate &date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }
} // namespace

QString dueWithinDaysText(int days, const QDate &today)
{
    return QStringLiteral("in %1 Tagen (bis %2)").arg(days).arg(day(today.addDays(days)));
}

QString dueUntilText(const QDate &until) { return QStringLiteral("bis zum %1").arg(day(until)); }

QString dueHorizonText(TDueHorizon horizon, const QDate &today, const QDate &chosen)
{
    switch (horizon) {
    case TDueHorizon::Overdue:
        return QStringLiteral("überfällig (fällig vor dem %1)").arg(day(today));
    case TDueHorizon::EndOfMonth:
        return QStringLiteral("bis Monatsende (%1)").arg(day(dueHorizonEnd(horizon, today)));
    case TDueHorizon::Days30:
        return dueWithinDaysText(30, today);
    case TDueHorizon::Days60:
        return dueWithinDaysText(60, today);
    case TDueHorizon::Days90:
        return dueWithinDaysText(90, today);
    case TDueHorizon::UntilDate:
        return dueUntilText(chosen);
    }
    return {};
}

TDueCounts countDue(const QList<TDueDevice> &devices, const QDate &today)
{
    TDueCounts counts;
    const QDate in30Days = today.addDays(kDueSoonDays);
    for (const TDueDevice &device : devices) {
        if (device.overdueOn(today))
            ++counts.overdue;
        else if (device.nextDate <= in30Days)
            ++counts.within30Days;
    }
    return counts;
}

QString dueCountsText(const TDueCounts &counts)
{
    return QStringLiteral("%1 überfällig, %2 in 30 Tagen").arg(counts.overdue).arg(counts.within30Days);
}

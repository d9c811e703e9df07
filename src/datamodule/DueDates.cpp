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

#include "DateText.h"
#include "Clock.h"

namespace {

// Qt reads a two-digit year as 19xx; the user means the year nearest to
// today: on 10.12.2026, "27" is 2027 and "98" is 1998.
QDateTime nearestCentury(const QDateTime &read)
{
    const QDate today = TClock::today();
    QDateTime best = read;
    qint64 bestDistance = -1;
    for (int century = -1; century <= 1; ++century) {
        const int year = (today.year() / 100 + century) * 100 + read.date().year() % 100;
        const QDate date(year, read.date().month(), read.date().day());
        if (!date.isValid()) // 29 February in a year without it
            continue;
        const qint64 distance = std::abs(date.daysTo(today));
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = QDateTime(date, read.time());
        }
    }
    return best;
}

} // namespace

namespace datetext {

std::optional<QDateTime> read(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const QString &pattern : {QStringLiteral("dd.MM.yyyy HH:mm:ss"), QStringLiteral("dd.MM.yyyy HH:mm"),
                                   QStringLiteral("dd.MM.yyyy"), QStringLiteral("d.M.yyyy H:mm"),
                                   QStringLiteral("d.M.yyyy"), QStringLiteral("d.M.yy H:mm"), QStringLiteral("d.M.yy")}) {
        const QDateTime dt = QDateTime::fromString(trimmed, pattern);
        if (!dt.isValid())
            continue;
        return pattern.contains(QStringLiteral("yyyy")) ? dt : nearestCentury(dt);
    }
    return std::nullopt;
}

QString fault(const QString &text) { return QStringLiteral("\u201E%1\u201C ist kein gültiges Datum.").arg(text); }

} // namespace datetext

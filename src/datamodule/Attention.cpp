#include "Attention.h"
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

QString dateText(const QDateTime &d) { return d.date().toString(QStringLiteral("dd.MM.yyyy")); }

QString valueText(double v) { return QLocale(QLocale::German).toString(v, 'f', 2); }

QString limitWords(const Measurement &m) { return m.kind == LimitKind::Maximum ? QStringLiteral("gestiegen") : QStringLiteral("gesunken"); }

// Whether the value of m moved toward its limit at each of the last kTrendMoves inspections.
bool trendsTowardLimit(const Measurement &m, const std::vector<TInspectionValues> &newestFirst)
{
    const size_t index = static_cast<size_t>(m.limitRow);
    if (newestFirst.size() < kTrendMoves + 1)
        return false;
    for (size_t i = 0; i < kTrendMoves; ++i) {
        const auto &value = newestFirst[i].values[index];
        const auto &previous = newestFirst[i + 1].values[index];
        if (!value || !previous || !movedTowardLimit(m, *previous, *value))
            return false;
    }
    return true;
}

void addDueMarks(TAttention &a, const std::vector<TInspectionValues> &newestFirst, const QDate &today)
{
    if (newestFirst.empty()) {
        a.marks.push_back({AttentionKind::Overdue, QStringLiteral("Noch nie geprüft: gilt als fällig.")});
        return;
    }
    const QDate next = newestFirst.front().next.date();
    const qint64 days = today.daysTo(next);
    if (days < 0)
        a.marks.push_back({AttentionKind::Overdue, QStringLiteral("Überfällig seit %1.").arg(dateText(newestFirst.front().next))});
    else if (days <= kDueSoonDays)
        a.marks.push_back({AttentionKind::DueSoon, days == 0 ? QStringLiteral("Heute fällig.")
                                                            : QStringLiteral("Fällig am %1 (in %2 Tagen).")
                                                                  .arg(dateText(newestFirst.front().next))
                                                                  .arg(days)});
}

void addLimitMarks(TAttention &a, const std::vector<TInspectionValues> &newestFirst, const TDeviceLimits &limits)
{
    if (newestFirst.empty())
        return;
    QStringList reasons;
    for (const Measurement &m : kMeasurements) {
        const size_t index = static_cast<size_t>(m.limitRow);
        const double limit = limits.limits[index];
        const auto &latest = newestFirst.front().values[index];
        if (latest && isNearLimit(m, *latest, limit))
            reasons << QStringLiteral("%1 %2 %3 nahe am Grenzwert %4 %3.")
                           .arg(m.germanLabel(), valueText(*latest), m.germanUnit(), valueText(limit));
        else if (trendsTowardLimit(m, newestFirst))
            reasons << QStringLiteral("%1 bei den letzten %2 Prüfungen stetig %3.")
                           .arg(m.germanLabel())
                           .arg(kTrendMoves)
                           .arg(limitWords(m));
    }
    if (!reasons.isEmpty())
        a.marks.push_back({AttentionKind::NearLimit, reasons.join(QLatin1Char('\n'))});
}

} // namespace

bool TAttention::has(AttentionKind kind) const
{
    return std::any_of(marks.begin(), marks.end(), [kind](const TAttentionMark &m) { return m.kind == kind; });
}

QString TAttention::shortText() const
{
    QStringList texts;
    for (const TAttentionMark &m : marks)
        texts << attentionText(m.kind);
    return texts.join(QStringLiteral(", "));
}

QString TAttention::reasons() const
{
    QStringList texts;
    for (const TAttentionMark &m : marks)
        texts << m.reason;
    return texts.join(QLatin1Char('\n'));
}

QString attentionText(AttentionKind kind)
{
    switch (kind) {
    case AttentionKind::Overdue: return QStringLiteral("überfällig");
    case AttentionKind::DueSoon: return QStringLiteral("bald fällig");
    case AttentionKind::Failed: return QStringLiteral("nicht bestanden");
    case AttentionKind::NearLimit: return QStringLiteral("nahe Grenzwert");
    }
    return {};
}

bool isNearLimit(const Measurement &m, double value, double limit)
{
    if (limit <= 0.0 || !m.passes(value, limit))
        return false;
    return m.kind == LimitKind::Maximum ? value > limit * (1.0 - kNearLimitShare)
                                        : value < limit * (1.0 + kNearLimitShare);
}

bool movedTowardLimit(const Measurement &m, double previous, double value)
{
    return m.kind == LimitKind::Maximum ? value > previous : value < previous;
}

bool worsenedBeyondHalfMargin(const Measurement &m, double previous, double value, double limit)
{
    const double margin = std::abs(limit - previous);
    if (!m.passes(previous, limit) || margin <= 0.0 || !movedTowardLimit(m, previous, value))
        return false;
    // Values carry four places; the tolerance keeps exactly half from counting.
    return std::abs(value - previous) > margin / 2.0 + 1e-9;
}

TAttention attentionOf(const std::vector<TInspectionValues> &newestFirst, const TDeviceLimits &limits,
                       const QDate &today)
{
    TAttention a;
    addDueMarks(a, newestFirst, today);
    if (!newestFirst.empty() && !newestFirst.front().passed)
        a.marks.push_back({AttentionKind::Failed, QStringLiteral("Letzte Prüfung am %1 nicht bestanden.")
                                                      .arg(dateText(newestFirst.front().date))});
    addLimitMarks(a, newestFirst, limits);
    return a;
}

QString valueNote(const Measurement &m, double value, double limit, std::optional<double> previous,
                  const QDate &previousDate)
{
    QStringList notes;
    if (isNearLimit(m, value, limit))
        notes << QStringLiteral("nahe am Grenzwert");
    if (m.passes(value, limit) && previous && previousDate.isValid() &&
        worsenedBeyondHalfMargin(m, *previous, value, limit))
        notes << QStringLiteral("verschlechtert seit %1").arg(previousDate.toString(QStringLiteral("dd.MM.yyyy")));
    return notes.join(QStringLiteral(", "));
}

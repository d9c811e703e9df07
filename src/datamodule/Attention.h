#pragma once
// What needs the firm's attention about a device: overdue, due soon, failed
// at its latest inspection, or near a limit. Pure rules over a device's
// latest inspections, and the queries that read them. Free of widgets.
#include "DueDates.h"
#include "Measurements.h"
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class TDatabase;

// A value within this share of its limit is near it.
inline constexpr double kNearLimitShare = 0.2;
// Moves toward the limit in a row that mark a trend.
inline constexpr int kTrendMoves = 3;

enum class AttentionKind { Overdue, DueSoon, Failed, NearLimit };

struct TAttentionMark {
    AttentionKind kind;
    QString reason; // German, for a tooltip
};

// The marks of one device, most urgent first.
struct TAttention {
    std::vector<TAttentionMark> marks;

    bool isEmpty() const { return marks.empty(); }
    bool has(AttentionKind kind) const;
    // The short texts of the marks, joined ("überfällig, Grenzwert").
    QString shortText() const;
    // Every reason, one a line.
    QString reasons() const;
};

// The short German text of a mark.
QString attentionText(AttentionKind kind);

// One stored inspection as the rules need it.
struct TInspectionValues {
    QDateTime date;
    QDateTime next;
    bool passed = true;
    std::array<std::optional<double>, kMeasurementCount> values{};
};

// What the rules need of a device besides its inspections.
struct TDeviceLimits {
    std::array<double, kMeasurementCount> limits{}; // as the device is judged
};

// Whether a passing value lies within kNearLimitShare of its limit (above
// 80 % of a maximum, below 120 % of a minimum).
bool isNearLimit(const Measurement &m, double value, double limit);
// Whether value is nearer its limit than previous.
bool movedTowardLimit(const Measurement &m, double previous, double value);
// Whether value is worse than previous by more than half of the margin the
// previous value left to its limit.
bool worsenedBeyondHalfMargin(const Measurement &m, double previous, double value, double limit);

// The quiet note beside a typed value: "nahe am Grenzwert" and/or
// "verschlechtert seit <date of the earlier inspection>"; empty when neither.
// A failing value gets none: its verdict says more.
QString valueNote(const Measurement &m, double value, double limit, std::optional<double> previous,
                  const QDate &previousDate);

// The marks of a device from its inspections, newest first (may be empty:
// never inspected counts as due now).
TAttention attentionOf(const std::vector<TInspectionValues> &newestFirst, const TDeviceLimits &limits,
                       const QDate &today);

// The attention of every device of a customer by device key, read in one query.
QHash<int, TAttention> customerAttention(TDatabase *database, int kundeId);
// The attention of every device of the due list up to a day, of one customer
// or of all, by device key.
QHash<int, TAttention> dueAttention(TDatabase *database, const QDate &until, const std::optional<int> &kundeId = std::nullopt);
// The attention of one device.
TAttention deviceAttention(TDatabase *database, int deviceId);

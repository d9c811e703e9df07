#pragma once
#include "Decimal.h"
#include <QDateTime>
#include <QString>
#include <variant>

// A date and time as the engine encodes it: days since 17 November 1858 and
// the time of day in units of 1/10000 second. Rows keep it raw; it becomes a
// QDateTime only when read.
struct TTimestamp {
    qint32 date = 0;
    quint32 time = 0;

    static TTimestamp fromDateTime(const QDateTime &dt);
    static TTimestamp fromDate(const QDate &d) { return {static_cast<qint32>(d.toJulianDay() - 2400001), 0}; }
    QDate toDate() const { return QDate::fromJulianDay(date + 2400001); }
    QTime toTime() const { return QTime::fromMSecsSinceStartOfDay(static_cast<int>(time / 10)); }
    QDateTime toDateTime() const { return QDateTime(toDate(), toTime()); }
    friend bool operator==(const TTimestamp &, const TTimestamp &) = default;
};

inline TTimestamp TTimestamp::fromDateTime(const QDateTime &dt)
{
    TTimestamp t = fromDate(dt.date());
    t.time = static_cast<quint32>(dt.time().msecsSinceStartOfDay()) * 10;
    return t;
}

// The id of a BLOB not read yet.
struct TBlobRef {
    quint32 high = 0;
    quint32 low = 0;
    bool binary = false; // sub-type 0: bytes, not text
    friend bool operator==(const TBlobRef &, const TBlobRef &) = default;
};

// One value of a row or a parameter. monostate is SQL NULL.
using TValue = std::variant<std::monostate, qint64, TDecimal, double, QString, TTimestamp, QDate, TBlobRef>;

inline bool isNull(const TValue &v) { return std::holds_alternative<std::monostate>(v); }

// Conversions shared by query columns and fields. NULL gives 0, an empty
// decimal, an invalid date or an empty text; a BLOB not read yet gives an
// empty text (its reader knows how to load it).
qint64 valueToInteger(const TValue &v);
TDecimal valueToDecimal(const TValue &v, int emptyScale = 4);
QDateTime valueToDateTime(const TValue &v);
QString valueToPlainText(const TValue &v); // digits with '.', ISO dates

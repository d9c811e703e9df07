// Reads the latest inspections of devices for the attention rules: one
// query over the devices with their inspections, newest first.
#include "Attention.h"
#include "Clock.h"
#include "Query.h"
#include <functional>

namespace {

// Inspections beyond these are not needed by any rule.
constexpr size_t kInspectionsKept = kTrendMoves + 1;

std::array<double, kMeasurementCount> storedLimits(TDatabase *database)
{
    std::array<double, kMeasurementCount> limits{};
    TQuery q(database);
    q.setSql(QStringLiteral("SELECT ID, WERT FROM GRENZWERTE"));
    for (q.execQuery(); !q.eof(); q.next()) {
        const qint64 id = q.asInteger(0);
        if (id >= 0 && id < kMeasurementCount && !q.isNull(1))
            limits[static_cast<size_t>(id)] = q.asDecimal(1).toDouble();
    }
    return limits;
}

TDeviceLimits deviceLimits(const std::array<double, kMeasurementCount> &stored, const QString &schutzklasse,
                           double ownLimit)
{
    TDeviceLimits d;
    for (const Measurement &m : kMeasurements) {
        const size_t index = static_cast<size_t>(m.limitRow);
        const double row = m.deviceLimitColumn ? ownLimit : stored[index];
        d.limits[index] = m.limitFor(row, schutzklasse);
    }
    return d;
}

std::optional<bool> flagAt(const TQuery &q, int column)
{
    if (q.isNull(column))
        return std::nullopt;
    return q.asInteger(column) != 0;
}

// Columns: device key, class, own limit, date, next, visual, function, then
// each measurement's value and flag.
TInspectionValues inspectionFrom(const TQuery &q)
{
    TInspectionValues v;
    v.date = q.asDateTime(3);
    v.next = q.asDateTime(4);
    v.passed = flagAt(q, 5).value_or(false) && flagAt(q, 6).value_or(false);
    int column = 7;
    for (const Measurement &m : kMeasurements) {
        const size_t index = static_cast<size_t>(m.limitRow);
        if (!q.isNull(column))
            v.values[index] = q.asDecimal(column).toDouble();
        v.passed = v.passed && flagAt(q, column + 1).value_or(true);
        column += 2;
    }
    return v;
}

QHash<int, TAttention> attentionWhere(TDatabase *database, const QString &condition, const std::function<void(TQuery &)> &bind)
{
    const auto stored = storedLimits(database);
    QStringList values;
    for (const QString &c : measurementColumns())
        values << QStringLiteral("p.") + c;
    TQuery q(database);
    q.setSql(QStringLiteral("SELECT l.ID, l.SCHUTZKLASSE, l.GRENZWERT0, p.PRUEFDATUM, p.NEXT_PRUEFDATUM, "
                            "p.SICHTPRUEFUNG_BESTANDEN, p.FUNKTIONSPRUEFUNG_BESTANDEN, %1 "
                            "FROM PRUEFLINGE l LEFT JOIN PRUEFUNGEN p ON p.PRUEFLINGE_ID = l.ID "
                            "WHERE %2 ORDER BY l.ID, p.PRUEFDATUM DESC, p.ID DESC")
                 .arg(values.join(QStringLiteral(", ")), condition));
    bind(q);
    QHash<int, TAttention> result;
    const QDate today = TClock::today();
    q.execQuery();
    while (!q.eof()) {
        const int id = static_cast<int>(q.asInteger(0));
        const QString schutzklasse = q.asString(1);
        const double own = q.isNull(2) ? stored.front() : q.asDecimal(2).toDouble();
        std::vector<TInspectionValues> newestFirst;
        for (; !q.eof() && q.asInteger(0) == id; q.next()) {
            if (!q.isNull(3) && newestFirst.size() < kInspectionsKept)
                newestFirst.push_back(inspectionFrom(q));
        }
        result.insert(id, attentionOf(newestFirst, deviceLimits(stored, schutzklasse, own), today));
    }
    return result;
}

} // namespace

QHash<int, TAttention> customerAttention(TDatabase *database, int kundeId)
{
    return attentionWhere(database, QStringLiteral("l.KUNDEN_ID = :KEY"),
                          [kundeId](TQuery &q) { q.paramByName(QStringLiteral("KEY")).setAsInteger(kundeId); });
}

TAttention deviceAttention(TDatabase *database, int deviceId)
{
    return attentionWhere(database, QStringLiteral("l.ID = :KEY"),
                          [deviceId](TQuery &q) { q.paramByName(QStringLiteral("KEY")).setAsInteger(deviceId); })
        .value(deviceId);
}

QHash<int, TAttention> dueAttention(TDatabase *database, const QDate &until, const std::optional<int> &kundeId)
{
    // The devices of the due list: active, of an active customer, never
    // inspected or with a latest next date up to :BIS. One customer's through
    // the index of the customer key.
    const QString customer = kundeId ? QStringLiteral("l.KUNDEN_ID = :KUNDE AND ") : QString();
    return attentionWhere(database,
                          customer +
                              QStringLiteral("l.AKTIV = 1 AND EXISTS (SELECT 1 FROM KUNDEN k WHERE k.ID = l.KUNDEN_ID AND k.AKTIV = 1) "
                                             "AND COALESCE((SELECT FIRST 1 CAST(q.NEXT_PRUEFDATUM AS DATE) FROM PRUEFUNGEN q "
                                             "WHERE q.PRUEFLINGE_ID = l.ID ORDER BY q.PRUEFDATUM DESC, q.ID DESC), :BIS) <= :BIS"),
                          [until, kundeId](TQuery &q) {
                              q.paramByName(QStringLiteral("BIS")).setAsDate(until);
                              if (kundeId)
                                  q.paramByName(QStringLiteral("KUNDE")).setAsInteger(*kundeId);
                          });
}

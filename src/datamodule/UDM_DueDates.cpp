// The due list: every active device of every active customer with the next
// inspection date of its latest inspection.
#include "UDM.h"
#include "Clock.h"
#include "Query.h"

namespace {
QString latestInspectionsSql()
{
    // The latest by date and then by key, so two inspections of the same
    // moment still give one row per device.
    return QStringLiteral("SELECT PRUEFLINGE_ID, NEXT_PRUEFDATUM, ROW_NUMBER() OVER (PARTITION BY PRUEFLINGE_ID "
                          "ORDER BY PRUEFDATUM DESC, ID DESC) AS RANG FROM PRUEFUNGEN");
}
} // namespace

QString latestNextInspectionColumn()
{
    return QStringLiteral("(SELECT FIRST 1 Q.NEXT_PRUEFDATUM FROM PRUEFUNGEN Q WHERE Q.PRUEFLINGE_ID = PRUEFLINGE.ID "
                          "ORDER BY Q.PRUEFDATUM DESC, Q.ID DESC) AS NAECHSTE_PRUEFUNG");
}

QList<TDueDevice> TfrmDM::dueDevices(const QDate &until, const std::optional<int> &kundeId)
{
    TQuery query(&Database);
    query.setSql(QStringList{
        QStringLiteral("SELECT K.ID, K.NAME, L.ID, L.BEZEICHNUNG, L.NUMMER, L.ORT, CAST(P.NEXT_PRUEFDATUM AS DATE)"),
        QStringLiteral("FROM KUNDEN K JOIN PRUEFLINGE L ON L.KUNDEN_ID = K.ID"),
        QStringLiteral("LEFT JOIN (") + latestInspectionsSql() + QStringLiteral(") P ON P.PRUEFLINGE_ID = L.ID AND P.RANG = 1"),
        QStringLiteral("WHERE K.AKTIV = 1 AND L.AKTIV = 1"),
        QStringLiteral("AND (P.NEXT_PRUEFDATUM IS NULL OR CAST(P.NEXT_PRUEFDATUM AS DATE) <= :BIS)"),
        QStringLiteral("AND (CAST(:KUNDE AS INTEGER) IS NULL OR K.ID = :KUNDE)"),
        QStringLiteral("ORDER BY K.NAME COLLATE DE_DE, K.ID, P.NEXT_PRUEFDATUM NULLS FIRST, L.ORT COLLATE DE_DE, L.NUMMER")});
    query.paramByName(QStringLiteral("BIS")).setAsDate(until);
    if (kundeId)
        query.paramByName(QStringLiteral("KUNDE")).setAsInteger(*kundeId);
    QList<TDueDevice> devices;
    for (query.execQuery(); !query.eof(); query.next()) {
        TDueDevice device;
        device.kundeId = static_cast<int>(query.asInteger(0));
        device.kundeName = query.asString(1);
        device.prueflingId = static_cast<int>(query.asInteger(2));
        device.bezeichnung = query.asString(3);
        device.nummer = query.asString(4);
        device.ort = query.asString(5);
        if (!query.isNull(6))
            device.nextDate = query.asDateTime(6).date();
        devices << device;
    }
    return devices;
}

TDueCounts TfrmDM::customerDueCounts(int kundeId)
{
    const QDate today = TClock::today();
    return countDue(dueDevices(today.addDays(kDueSoonDays), kundeId), today);
}

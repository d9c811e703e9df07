#include "ScannedDevice.h"
#include "Query.h"

std::optional<TLabelPayload> payloadInText(const QString &text)
{
    const qsizetype start = text.lastIndexOf(QStringLiteral("VPP1;"), -1, Qt::CaseInsensitive);
    return start < 0 ? std::nullopt : parseLabelPayload(text.mid(start));
}

std::optional<QString> scannedDeviceNumber(TDatabase &database, const TLabelPayload &payload)
{
    TQuery query(&database);
    query.setSql(QStringLiteral("SELECT NUMMER FROM PRUEFLINGE WHERE ID = :ID AND KUNDEN_ID = :KUNDE"));
    query.paramByName(QStringLiteral("ID")).setAsInteger(payload.deviceId);
    query.paramByName(QStringLiteral("KUNDE")).setAsInteger(payload.customerId);
    query.execQuery();
    if (query.eof())
        return std::nullopt;
    return query.isNull(0) ? QString() : query.asString(0);
}

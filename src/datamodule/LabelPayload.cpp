#include "LabelPayload.h"
#include <QRegularExpression>

QString labelPayloadText(const TLabelPayload &payload)
{
    return QStringLiteral("VPP1;K%1;G%2;N%3").arg(payload.customerId).arg(payload.deviceId).arg(payload.deviceNumber);
}

std::optional<TLabelPayload> parseLabelPayload(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^VPP1;K(\\d{1,10});G(\\d{1,10});N(\\d{0,18})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    bool customerOk = false;
    bool deviceOk = false;
    TLabelPayload payload;
    payload.customerId = match.captured(1).toInt(&customerOk);
    payload.deviceId = match.captured(2).toInt(&deviceOk);
    payload.deviceNumber = match.captured(3);
    if (!customerOk || !deviceOk)
        return std::nullopt;
    return payload;
}

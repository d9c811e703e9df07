#pragma once
#include <QString>
#include <optional>

// The text a label's QR code holds: "VPP1;K<customer key>;G<device key>;N<device number>".
// It names a device in one database and nothing about a person; the leading
// "VPP1" tells our payloads from anything else a scanner may type.
struct TLabelPayload {
    int customerId = 0;
    int deviceId = 0;
    QString deviceNumber; // digits only; empty when the device has no number
};

QString labelPayloadText(const TLabelPayload &payload);

// The payload in a scanned or typed text (surrounding blanks ignored), or none
// when the text is not one of ours.
std::optional<TLabelPayload> parseLabelPayload(const QString &text);

#pragma once
#include "LabelPayload.h"

class TDatabase;

// The label payload at the end of a typed or scanned text (a scanner types
// into whatever the field held), or none.
std::optional<TLabelPayload> payloadInText(const QString &text);

// The number stored for the device a payload names (empty for a device
// without a number), or none when this database has no such device of the
// customer it names. The number may have changed since the label was
// printed; the keys stay.
std::optional<QString> scannedDeviceNumber(TDatabase &database, const TLabelPayload &payload);

#pragma once
#include "LabelPayload.h"

class TDatabase;

// The label payload at the end of a typed or scanned text (a scanner types
// into whatever the field held), or none.
std::optional<TLabelPayload> payloadInText(const QString &text);

// Whether the device a payload names is in this database with the
// customer it names. The number may have changed since the label was
// printed; the keys stay.
bool scannedDeviceExists(TDatabase &database, const TLabelPayload &payload);

#pragma once
// "Prüfling anlegen" from a row whose device is unknown: the customer by
// the row's name when it is not there yet, the device with the row's number.
#include <QString>

class TDatabase;
struct TImportRow;
struct TImportProfile;

struct TNewDeviceChoice {
    QString name;         // Bezeichnung
    QString schutzklasse; // "I", "II" or "III"; it changes a limit, so it is asked, never assumed
    int interval = 12;    // months
};

// Whether the row names a device that can be created (its number, and a
// customer by name or an existing one); German reason when not.
QString deviceCreationRefusal(const TImportRow &row, const TImportProfile &profile);
// Creates what is missing and commits; returns the new device's key.
// Refuses with EDatabaseError.
int createDeviceFromRow(TDatabase &database, const TImportRow &row, const TImportProfile &profile, const TNewDeviceChoice &choice);

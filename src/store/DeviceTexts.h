#pragma once
// The distinct names and places of all devices, kept in a small table of
// their own (PRUEFLING_TEXTE) by triggers on PRUEFLINGE, so that the device
// window's suggestions cost as many index lookups as there are distinct
// texts instead of a read of every device.
#include <QString>

class TDatabase;

inline const QString kDeviceTextsTable = QStringLiteral("PRUEFLING_TEXTE");

// The texts of one column of PRUEFLINGE ("BEZEICHNUNG" or "ORT") that some
// device still carries, without empty ones, sorted by the characters'
// codes.
QString deviceTextsSql(const QString &column);

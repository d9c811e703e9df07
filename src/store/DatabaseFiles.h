#pragma once
#include <QDateTime>
#include <QString>
#include <functional>

class TDatabase;

// True when the file's SETTINGS table has a row with that ID and WERT. Starts
// the connection's transaction when it is not active.
bool hasSettingsRow(TDatabase &database, int id, const QString &value);

// The name of a backup copy: "yyyyMMdd_HHmm_" followed by the database file's
// name without its folder ("20240131_0905_VELMORA.FDB").
QString backupFileName(const QDateTime &at, const QString &databasePath);

// Copies source to target through "<target>.part", renamed when complete, so
// an interrupted copy never leaves a half file under the target's name.
// progress gets the bytes copied and the total and returns false to cancel.
// Returns an empty text on success, else the reason in German.
QString copyFileCompletely(const QString &source, const QString &target,
                           const std::function<bool(qint64 done, qint64 total)> &progress = {});

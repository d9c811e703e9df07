#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include "FileCopy.h"
#include <functional>

class TDatabase;

// True when the file's SETTINGS table has a row with that ID and WERT. Starts
// the connection's transaction when it is not active.
bool hasSettingsRow(TDatabase &database, int id, const QString &value);

// True when the connected file carries the identity row of this program
// (SETTINGS row 2 with "2"); false when the row or the whole SETTINGS table
// is missing. Other failures (a damaged file) travel to the caller.
bool isVelmoraDatabase(TDatabase &database);

// Opens the file over a connection of its own, without changing anything:
// Ours, Foreign (no identity row), or Unopenable.
enum class FileIdentity { Ours, Foreign, Unopenable };
FileIdentity identifyDatabaseFile(const QString &path);

// The first column of every row a statement selects, as text.
QStringList firstColumn(TDatabase &database, const QString &sql);
// The file's own tables (no views, no system tables), by name.
QStringList userTables(TDatabase &database);

// The name of a backup copy: "yyyyMMdd_HHmm_" followed by the database file's
// name without its folder ("20240131_0905_VELMORA.FDB").
QString backupFileName(const QDateTime &at, const QString &databasePath);

// Removes the part files that killed backups of this database left in the
// folder ("yyyyMMdd_HHmm_<name>.part"), unless one was written to in the
// last minutes: that may be a backup still running. The number removed.
int removeStaleBackupParts(const QString &folder, const QString &databasePath, const QDateTime &now);

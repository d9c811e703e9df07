#pragma once
#include "DbError.h"
#include "Migration.h"
#include <QList>
#include <QString>

class TDatabase;

// The version the file went through, 0 for a file from before versions.
int storedSchemaVersion(TDatabase &db);
// The last version in the program's list of steps.
int latestSchemaVersion();
// Why a file written by a newer program is refused.
QString newerSchemaMessage(int stored, int known);
// The login may not change the schema (a workstation's own login on a server).
bool lacksPrivilege(const EDatabaseError &e);
// A file written by a newer program: this one leaves it alone.
class ENewerSchema : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// Runs every step after the stored version, each in its own transaction
// that also stores its number; a file of a newer version is refused with
// ENewerSchema. The default transaction is left active. A step that works
// through many rows reports to progress after each committed chunk.
void runMigrations(TDatabase &db, const MigrationProgress &progress = {});
void runMigrations(TDatabase &db, const QList<Migration> &steps, const MigrationProgress &progress = {});
// Whether the file has steps to go through; a file of a newer program is
// refused with ENewerSchema. Leaves the default transaction active.
bool upgradeDue(TDatabase &db);

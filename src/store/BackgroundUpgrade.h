#pragma once
// The upgrade as the user waits for it: its progress in words, and the run
// at opening on a connection of its own, off the window's thread.
#include "LongWork.h"
#include "Migration.h"

class TDatabase;

// The title of the upgrade's progress window.
extern const QString kUpgradeTitle;
// What the user reads when the upgrade was stopped with "Abbrechen".
extern const QString kUpgradeCancelled;

// The rows of a long step told as "Datenbank wird aktualisiert: 12.000 von
// 196.000 Prüfungen" (the one step that works through many rows goes
// through the inspections).
MigrationProgress upgradeProgress(const Progress &progress);

// Brings the file of the connected db up to date. When steps are due, db is
// detached while they run on a connection of their own through the long-work
// runner (the engine would make the steps' schema changes and db's open
// transaction wait on each other), and attached again afterwards with its
// default transaction started. A failed upgrade attaches db again and
// rethrows; one stopped with "Abbrechen" leaves db detached and throws
// EWorkCancelled: what it committed stays, and the next opening resumes.
void upgradeOnOwnConnection(TDatabase &db);

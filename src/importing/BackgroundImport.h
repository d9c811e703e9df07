#pragma once
// The import window's dry run and import as long work: on a connection of
// their own to the window's database, off the window's thread, with their
// progress shown and "Abbrechen" offered (both stop safely: the dry run only
// reads, the import is one transaction).
#include "DryRun.h"
#include "ImportBatch.h"

// What the user reads after "Abbrechen".
extern const QString kDryRunCancelled;
extern const QString kImportCancelled;

// dryRunImport on a connection of its own; EWorkCancelled after "Abbrechen".
TDryRun dryRunInBackground(TDatabase &database, const TImportProfile &profile, const QString &fileName,
                           const QByteArray &bytes, const TImportChoice &choice);

// importDryRun on a connection of its own, committed there; EWorkCancelled
// after "Abbrechen", with nothing written. Afterwards database's default
// transaction starts afresh: a snapshot begun before the import would not
// show its rows, and the program's next fingerprint would not find the
// chain's newest entry.
TImportResult importInBackground(TDatabase &database, const TDryRun &shown);

#pragma once
// The steps of the schema's history and the checks that tell, for a file
// from before schema versions, whether a step's effect is present. The list
// that orders them is MigrationList.cpp.
class MigrationStep;
class TDatabase;

// The one-row table with the schema's version number.
void addSchemaVersionTable(MigrationStep &step);
// The limit for protection class I (GRENZWERTE.WERT_I).
void addClassOneLimit(MigrationStep &step);
// The contractor's logo, and the short name for labels.
void addContractorLogo(MigrationStep &step);
void addContractorShortName(MigrationStep &step);

// The chain of fingerprints, the closed protocols and the kept earlier
// versions of corrected inspections (UpgradeFingerprints.cpp).
void addFingerprintTables(MigrationStep &step);
// The inspections stored before fingerprints existed get theirs, marked as
// added later.
void fingerprintStoredInspections(MigrationStep &step);
bool everyInspectionFingerprinted(TDatabase &db);
// The index that finds the chain's newest entry.
void addChainHeadIndex(MigrationStep &step);

// The tables of the measured-value import (UpgradeImport.cpp).
void addImportTables(MigrationStep &step);
bool importTablesPresent(TDatabase &db);

// The triggers that post change events (UpgradeChangeEvents.cpp).
void addChangeEventTriggers(MigrationStep &step);
bool changeEventTriggersPresent(TDatabase &db);

// The texts of a file of the earlier versions moved from ISO8859_1 to UTF-8,
// after a backup copy beside the file (UpgradeUtf8.cpp).
void convertTextsToUtf8(MigrationStep &step);
bool textsAreUtf8(TDatabase &db);

// The table of the devices' distinct names and places, filled from the
// stored devices and kept by triggers (UpgradeDeviceTexts.cpp).
void addDeviceTexts(MigrationStep &step);
bool deviceTextsPresent(TDatabase &db);

// The table of the active devices' next due dates, filled from the stored
// inspections and kept by triggers (UpgradeDueTable.cpp).
void addDueTable(MigrationStep &step);
bool dueTableComplete(TDatabase &db);

// The evidence closed to changes: a procedure that appends to the chain,
// triggers that refuse changes and deletions, and the workstations' logins
// cut down to reading and adding (UpgradeEvidenceRights.cpp).
void closeEvidence(MigrationStep &step);
bool evidenceClosed(TDatabase &db);
// The database's own identity, readable and at the head of the chain of
// fingerprints (UpgradeIdentity.cpp).
void addDatabaseIdentity(MigrationStep &step);
bool databaseIdentityPresent(TDatabase &db);

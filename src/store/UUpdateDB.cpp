#include "UUpdateDB.h"
#include "SchemaVersion.h"

void TUpdateDB::CheckAndUpdate(const MigrationProgress &progress) { runMigrations(*FDatabase, progress); }

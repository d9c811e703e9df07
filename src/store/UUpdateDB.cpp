#include "UUpdateDB.h"
#include "SchemaVersion.h"

void TUpdateDB::CheckAndUpdate() { runMigrations(*FDatabase); }

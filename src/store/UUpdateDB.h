#pragma once
#include "Migration.h"

class TDatabase;

// Brings a connected database file up to the current schema by running the
// steps of MigrationList.cpp after the file's stored version; a current file
// costs two small queries (does SCHEMAVERSION exist, its number). A file of
// a newer program is refused with ENewerSchema (SchemaVersion.h).
class TUpdateDB {
public:
    explicit TUpdateDB(TDatabase *database) : FDatabase(database) {}

    TDatabase *database() const { return FDatabase; }
    void setDatabase(TDatabase *database) { FDatabase = database; }

    void CheckAndUpdate(const MigrationProgress &progress = {});

private:
    TDatabase *FDatabase = nullptr;
};

#pragma once
#include <QString>
#include <memory>

class TDatabase;
class TQuery;

// Brings a connected database file up to the current schema. Each step is
// guarded by a test for the column it adds, so a current file costs one
// query per step.
class TUpdateDB {
public:
    explicit TUpdateDB(TDatabase *database);
    ~TUpdateDB();
    TUpdateDB(const TUpdateDB &) = delete;
    TUpdateDB &operator=(const TUpdateDB &) = delete;

    TDatabase *database() const { return FDatabase; }
    void setDatabase(TDatabase *database);

    void CheckAndUpdate();
    // The import's profiles, batches and imported rows (UpgradeImport.cpp).
    void UpgradeImportTables();

private:
    bool FieldExists(const QString &tablename, const QString &fieldname);
    bool TableExists(const QString &tablename);
    bool SequenceExists(const QString &name);
    qint64 countOf(const QString &sql, const QString &name);
    void ExecUpdate(const QString &statement);
    // The contractor's short name for labels (UpgradeLabels.cpp).
    void addContractorShortName();

    std::unique_ptr<TQuery> FQuery;
    TDatabase *FDatabase = nullptr;
};

#pragma once
#include <QString>
#include <memory>

class TDatabase;
class TQuery;

// Builds the schema of a new database file and fills it with its fixed rows
// and the demonstration records, over a connection it is given.
class TFirebird {
public:
    explicit TFirebird(TDatabase *database);
    virtual ~TFirebird();
    TFirebird(const TFirebird &) = delete;
    TFirebird &operator=(const TFirebird &) = delete;

    // One statement in a transaction of its own: start, execute, commit.
    virtual void execSQL(const QString &statement);
    // Attaches if needed, then runs the twenty creation statements, each
    // sequence restarted right after its creation.
    virtual void doTables();
    // Limit values and protection classes.
    virtual void doDefaults();
    // Demonstration records and the row that marks the file as ours.
    virtual void doDefaults2();
    // Only the row that marks the file as ours, for a file without
    // demonstration records.
    void doMarker();
    virtual void doUpdate();

    void setSequence(const QString &sequence, qint64 value);
    // Restarts the sequence at the largest key in use, so the next key follows it.
    void setSequence(const QString &sequence, const QString &table, const QString &field);

    TQuery *Query() const { return FQuery.get(); }

private:
    TDatabase *FDatabase;
    std::unique_ptr<TQuery> FQuery;
};

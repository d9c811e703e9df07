#pragma once
// One step of the schema's history. The steps are numbered; a database file
// keeps the number of the last step it went through (table SCHEMAVERSION),
// and every start runs the steps after it, each one either done or not done.
#include "SchemaObjects.h"
#include <QString>
#include <functional>

class TDatabase;
class MigrationStep;

// How far a step that works through many rows is: rows done of rows in all.
// The runner's caller may stop the run by throwing from it; it is called
// right after a chunk was committed, where stopping is safe.
using MigrationProgress = std::function<void(int rowsDone, int rowsTotal)>;

struct Migration {
    int version = 0;
    QString name;
    // Whether the step's effect is present in a file from before schema
    // versions (its stored version is 0): such a file gets only the steps
    // whose effect is missing.
    std::function<bool(TDatabase &)> effectPresent;
    std::function<void(MigrationStep &)> apply;
    // A workstation's own login on a server may not change the schema; such a
    // step is then left for the owner and the program works without it.
    bool mayBeLeftToOwner = false;
};

// What a step works with: the database and its default transaction, in which
// the runner stores the new version number before it commits.
class MigrationStep {
public:
    MigrationStep(TDatabase &db, const Migration &migration, const MigrationProgress &progress = {})
        : m_db(db), m_migration(migration), m_progress(progress)
    {
    }
    TDatabase &db() { return m_db; }

    // Runs one statement in the step's transaction.
    void exec(const QString &statement);
    // Runs a statement whose text names variables as ":NAME" (a procedure's
    // or trigger's body), which exec would take for its own parameters.
    void execModule(const QString &statement);
    // Runs a statement that adds an object, unless the object exists: a step
    // that commits part of its work must find it done when it runs again.
    void add(SchemaObject kind, const QString &name, const QString &statement, const QString &table = {});
    void addModule(SchemaObject kind, const QString &name, const QString &statement);
    // Commits the work so far: the engine lets a transaction use a table or
    // column only once the transaction that created it has committed. The
    // version number follows only with the step's last commit.
    void commitPart();
    // Commits a chunk of a long step and keeps open cursors, so that a killed
    // run resumes after the last chunk; then reports the progress.
    void commitChunk(int rowsDone, int rowsTotal);
    // Reports progress without committing (the step's last rows, which the
    // runner commits with the version number).
    void reportRows(int rowsDone, int rowsTotal);

private:
    TDatabase &m_db;
    const Migration &m_migration;
    MigrationProgress m_progress;
};

// For tests: runs after every partial commit of a step, where a killed
// program could have stopped. Throwing from it stops the run there.
inline std::function<void(const Migration &, int rowsDone)> afterPartialCommit;

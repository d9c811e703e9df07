#pragma once
// One step of the schema's history. The steps are numbered; a database file
// keeps the number of the last step it went through (table SCHEMAVERSION),
// and every start runs the steps after it, each one either done or not done.
#include "SchemaObjects.h"
#include <QString>
#include <functional>

class TDatabase;
class MigrationStep;

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
    MigrationStep(TDatabase &db, const Migration &migration) : m_db(db), m_migration(migration) {}
    TDatabase &db() { return m_db; }

    // Runs one statement in the step's transaction.
    void exec(const QString &statement);
    // Runs a statement that adds an object, unless the object exists: a step
    // that commits part of its work must find it done when it runs again.
    void add(SchemaObject kind, const QString &name, const QString &statement, const QString &table = {});
    // Commits the work so far: the engine lets a transaction use a table or
    // column only once the transaction that created it has committed. The
    // version number follows only with the step's last commit.
    void commitPart();
    // Commits a chunk of a long step and keeps open cursors, so that a killed
    // run resumes after the last chunk.
    void commitChunk(int rowsDone);

private:
    TDatabase &m_db;
    const Migration &m_migration;
};

// For tests: runs after every partial commit of a step, where a killed
// program could have stopped. Throwing from it stops the run there.
inline std::function<void(const Migration &, int rowsDone)> afterPartialCommit;

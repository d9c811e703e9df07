#include "SchemaVersion.h"
#include "Database.h"
#include "DbError.h"
#include "IndexStatistics.h"
#include "MigrationList.h"
#include "Query.h"
#include <ibase.h>

namespace {

const QString kVersionTable = QStringLiteral("SCHEMAVERSION");

void writeSchemaVersion(TDatabase &db, int version)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("UPDATE SCHEMAVERSION SET VERSION = :VERSION"));
    q.paramByName(QStringLiteral("VERSION")).setAsInteger(version);
    q.execQuery();
    if (q.rowsAffected() > 0)
        return;
    q.setSql(QStringLiteral("INSERT INTO SCHEMAVERSION (VERSION) VALUES (:VERSION)"));
    q.paramByName(QStringLiteral("VERSION")).setAsInteger(version);
    q.execQuery();
}

void rollbackQuietly(TTransaction *t)
{
    try {
        t->rollback();
    } catch (const EDatabaseError &) {
        // the connection is gone; the engine drops the transaction itself
    }
}

} // namespace

bool lacksPrivilege(const EDatabaseError &e) { return e.hasEngineCode(isc_no_priv) || e.hasEngineCode(isc_dyn_no_priv); }

int storedSchemaVersion(TDatabase &db)
{
    if (!schemaObjectExists(db, SchemaObject::Table, kVersionTable))
        return 0;
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT COALESCE(MAX(VERSION), 0) FROM SCHEMAVERSION"));
    q.execQuery();
    return static_cast<int>(q.asInteger(0));
}

int latestSchemaVersion() { return migrations().last().version; }

QString newerSchemaMessage(int stored, int known)
{
    return QStringLiteral("Die Datenbank wurde mit einer neueren Version von Velmora Prüfprotokolle angelegt "
                          "(Datenbankversion %1, dieses Programm kennt bis %2). Bitte verwenden Sie die neuere "
                          "Programmversion.")
        .arg(stored)
        .arg(known);
}

namespace {

// The stored version; a newer program's file is refused.
int knownStoredVersion(TDatabase &db, int known)
{
    db.defaultTransaction()->start();
    const int stored = storedSchemaVersion(db);
    if (stored > known)
        throw ENewerSchema(newerSchemaMessage(stored, known));
    return stored;
}

} // namespace

bool upgradeDue(TDatabase &db) { return knownStoredVersion(db, latestSchemaVersion()) < latestSchemaVersion(); }

void runMigrations(TDatabase &db, const MigrationProgress &progress) { runMigrations(db, migrations(), progress); }

void runMigrations(TDatabase &db, const QList<Migration> &steps, const MigrationProgress &progress)
{
    TTransaction *t = db.defaultTransaction();
    const int stored = knownStoredVersion(db, steps.isEmpty() ? 0 : steps.last().version);
    // Once a step is left for the owner, later numbers would claim it done:
    // the rest runs by its effect checks only, and no number is stored.
    bool recording = true;
    bool upgraded = false;
    for (const Migration &m : steps) {
        if (m.version <= stored)
            continue;
        t->start();
        try {
            const bool byEffect = stored == 0 || !recording;
            bool applied = false;
            if (!byEffect || !m.effectPresent(db)) {
                MigrationStep step(db, m, progress);
                m.apply(step);
                applied = true;
            }
            if (recording)
                writeSchemaVersion(db, m.version);
            t->commit();
            upgraded = upgraded || applied || recording;
        } catch (const EDatabaseError &e) {
            rollbackQuietly(t);
            if (!m.mayBeLeftToOwner || !lacksPrivilege(e))
                throw;
            recording = false;
        } catch (...) {
            rollbackQuietly(t);
            throw;
        }
    }
    if (upgraded) // new indexes and the rows the steps wrote
        recomputeIndexStatistics(db);
    t->start();
}

// The database's own identity (DatabaseIdentity.h). The engine lets a
// transaction fill a table only once the transaction that created it has
// committed, so the step has two parts:
//   part 1 (one commit): the empty one-row table;
//   part 2 (one commit, with the version number): the identity in the table,
//     its entry at the head of the chain of fingerprints, and the
//     workstations' right to read it.
// A run killed after part 1 leaves no identity, and the next start makes one.
#include "Database.h"
#include "DatabaseIdentity.h"
#include "Fingerprints.h"
#include "Migration.h"
#include "UpgradeSteps.h"
#include "WorkstationGrants.h"

namespace {

const QString kTable = QStringLiteral("DATENBANK_KENNUNG");

} // namespace

void addDatabaseIdentity(MigrationStep &step)
{
    step.add(SchemaObject::Table, kTable,
             QStringLiteral("CREATE TABLE DATENBANK_KENNUNG (ID INTEGER NOT NULL, KENNUNG VARCHAR(32) NOT NULL, "
                            "PRIMARY KEY (ID))"));
    step.commitPart();

    const QString identity = newDatabaseIdentity(); // hex digits only: safe as a literal
    step.exec(QStringLiteral("INSERT INTO DATENBANK_KENNUNG (ID, KENNUNG) VALUES (1, '%1')").arg(identity));
    fingerprintDatabaseIdentity(step.db(), identity);
    // Every workstation that prints protocols reads the identity.
    for (const QString &user : workstationLoginsWith(step.db(), QStringLiteral("PRUEFLINGE"), u'S'))
        step.exec(QStringLiteral("GRANT SELECT ON DATENBANK_KENNUNG TO USER \"%1\"").arg(user));
}

bool databaseIdentityPresent(TDatabase &db) { return storedDatabaseIdentity(db).has_value(); }

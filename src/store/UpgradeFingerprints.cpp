// The records that prove they were not changed: the chain of fingerprints,
// the closed protocols and the kept earlier versions of corrected
// inspections.
#include "Database.h"
#include "Fingerprints.h"
#include "Migration.h"
#include "Query.h"
#include "UpgradeSteps.h"

void addFingerprintTables(MigrationStep &step)
{
    // The earlier state of each corrected inspection, with the reason of the
    // correction; the columns of PRUEFUNGEN besides its key.
    step.add(SchemaObject::Table, QStringLiteral("PRUEFUNGEN_VERSIONEN"),
             QStringLiteral(
                 "CREATE TABLE PRUEFUNGEN_VERSIONEN (PRUEFUNG_ID INTEGER NOT NULL, VERSION INTEGER NOT NULL, "
                 "KORRIGIERT TIMESTAMP NOT NULL, GRUND VARCHAR(200) NOT NULL, BEZEICHNUNG VARCHAR(50), "
                 "PRUEFDATUM TIMESTAMP, NEXT_PRUEFDATUM TIMESTAMP, PRUEFER_ID INTEGER, PRUEFGERAETE_ID INTEGER, "
                 "PRUEFLINGE_ID INTEGER, SICHTPRUEFUNG_BESTANDEN DOM_BOOLEAN, SCHUTZLEITWIDERSTAND DECIMAL(18,4), "
                 "SCHUTZLEITWIDERSTAND_BESTANDEN DOM_BOOLEAN, ISOLATIONSPRUEFUNG DECIMAL(18,4), "
                 "ISOLATIONSPRUEFUNG_BESTANDEN DOM_BOOLEAN, ERSATZABLEITSTROM DECIMAL(18,4), "
                 "ERSATZABLEITSTROM_BESTANDEN DOM_BOOLEAN, DIFFERENZSTROM DECIMAL(18,4), DIFFERENZSTROM_BESTANDEN DOM_BOOLEAN, "
                 "BERUEHRUNGSSTROM DECIMAL(18,4), BERUEHRUNGSSTROM_BESTANDEN DOM_BOOLEAN, "
                 "FUNKTIONSPRUEFUNG_BESTANDEN DOM_BOOLEAN, BEMERKUNG BLOB SUB_TYPE TEXT, "
                 "PRIMARY KEY (PRUEFUNG_ID, VERSION))"));
    // An inspection whose protocol was printed or saved as PDF.
    step.add(SchemaObject::Table, QStringLiteral("PRUEFUNGEN_ABGESCHLOSSEN"),
             QStringLiteral("CREATE TABLE PRUEFUNGEN_ABGESCHLOSSEN (PRUEFUNG_ID INTEGER NOT NULL, "
                            "ABGESCHLOSSEN TIMESTAMP NOT NULL, PRIMARY KEY (PRUEFUNG_ID))"));
    step.add(SchemaObject::Table, QStringLiteral("FINGERABDRUECKE"),
             QStringLiteral("CREATE TABLE FINGERABDRUECKE (NR INTEGER NOT NULL, PRUEFUNG_ID INTEGER NOT NULL, "
                            "ART VARCHAR(20) NOT NULL, VERSION INTEGER NOT NULL, ERSTELLT TIMESTAMP NOT NULL, "
                            "INHALT BLOB SUB_TYPE TEXT NOT NULL, WERT VARCHAR(64) NOT NULL, PRIMARY KEY (NR))"));
    step.add(SchemaObject::Index, QStringLiteral("FINGERABDRUECKE_PRUEFUNG"),
             QStringLiteral("CREATE INDEX FINGERABDRUECKE_PRUEFUNG ON FINGERABDRUECKE (PRUEFUNG_ID)"));
    step.add(SchemaObject::Index, QStringLiteral("FINGERABDRUECKE_WERT"),
             QStringLiteral("CREATE INDEX FINGERABDRUECKE_WERT ON FINGERABDRUECKE (WERT)"));
}

namespace {

qint64 count(TDatabase &db, const QString &sql)
{
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    return q.asInteger(0);
}

} // namespace

void fingerprintStoredInspections(MigrationStep &step)
{
    // A firm's file may hold hundreds of thousands of inspections: each
    // chunk commits, so that a run that is killed or finds the disk full
    // resumes after the last chunk; what is fingerprinted marks the progress.
    constexpr int kChunkRows = 1000;
    // A resumed run counts what an earlier run did as done.
    const auto total = static_cast<int>(count(step.db(), QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN")));
    const auto before = total - static_cast<int>(count(step.db(), QStringLiteral(
        "SELECT COUNT(*) FROM PRUEFUNGEN p WHERE NOT EXISTS (SELECT 1 FROM FINGERABDRUECKE f WHERE f.PRUEFUNG_ID = p.ID)")));
    const int done = fingerprintUnmarkedInspections(step.db(), kChunkRows, [&step, before, total](int rowsDone) {
        step.commitChunk(before + rowsDone, total);
    });
    if (total > 0)
        step.reportRows(before + done, total);
}

bool everyInspectionFingerprinted(TDatabase &db)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM PRUEFUNGEN p WHERE NOT EXISTS "
                            "(SELECT 1 FROM FINGERABDRUECKE f WHERE f.PRUEFUNG_ID = p.ID))"));
    q.execQuery();
    return q.asInteger(0) == 0;
}

void addChainHeadIndex(MigrationStep &step)
{
    // Every new fingerprint reads the chain's newest entry; without this
    // index the engine sorts the whole chain for it.
    step.add(SchemaObject::Index, QStringLiteral("FINGERABDRUECKE_NR_DESC"),
             QStringLiteral("CREATE DESCENDING INDEX FINGERABDRUECKE_NR_DESC ON FINGERABDRUECKE (NR)"));
}

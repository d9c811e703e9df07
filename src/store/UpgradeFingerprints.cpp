#include "UpgradeFingerprints.h"
#include "Database.h"
#include "Fingerprints.h"
#include "Query.h"

namespace {

bool tableExists(TDatabase &db, const QString &table)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG=0 AND RDB$RELATION_NAME = :NAME"));
    q.paramByName(QStringLiteral("NAME")).setAsString(table);
    q.execQuery();
    return q.asInteger(0) > 0;
}

void execute(TDatabase &db, const QString &statement)
{
    TQuery q(&db);
    q.setSql(statement);
    q.execQuery();
    q.close();
}

} // namespace

void upgradeFingerprints(TDatabase &db)
{
    TTransaction *transaction = db.defaultTransaction();
    transaction->start();
    if (tableExists(db, QStringLiteral("FINGERABDRUECKE")))
        return;
    // The earlier state of each corrected inspection, with the reason of the
    // correction; the columns of PRUEFUNGEN besides its key.
    execute(db, QStringLiteral(
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
    execute(db, QStringLiteral("CREATE TABLE PRUEFUNGEN_ABGESCHLOSSEN (PRUEFUNG_ID INTEGER NOT NULL, "
                               "ABGESCHLOSSEN TIMESTAMP NOT NULL, PRIMARY KEY (PRUEFUNG_ID))"));
    execute(db, QStringLiteral("CREATE TABLE FINGERABDRUECKE (NR INTEGER NOT NULL, PRUEFUNG_ID INTEGER NOT NULL, "
                               "ART VARCHAR(20) NOT NULL, VERSION INTEGER NOT NULL, ERSTELLT TIMESTAMP NOT NULL, "
                               "INHALT BLOB SUB_TYPE TEXT NOT NULL, WERT VARCHAR(64) NOT NULL, PRIMARY KEY (NR))"));
    execute(db, QStringLiteral("CREATE INDEX FINGERABDRUECKE_PRUEFUNG ON FINGERABDRUECKE (PRUEFUNG_ID)"));
    execute(db, QStringLiteral("CREATE INDEX FINGERABDRUECKE_WERT ON FINGERABDRUECKE (WERT)"));
    transaction->commit();
    // The tables exist once committed; the fingerprints of what is stored
    // follow in one transaction of their own.
    transaction->start();
    fingerprintUnmarkedInspections(db);
    transaction->commit();
    transaction->start();
}

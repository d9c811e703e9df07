// The table of the active devices' next due dates and the triggers that keep
// it. As with every table, the engine lets a transaction fill it only once
// the transaction that created it has committed, so the step has two parts:
//   part 1 (one commit): the empty table and the index on the date;
//   part 2 (one commit, with the version number): the triggers, a row for
//     every active device, and the rights.
// A run killed after part 1 leaves the table empty and without triggers;
// the next start does part 2.
#include "DueTable.h"
#include "Migration.h"
#include "UpgradeSteps.h"
#include "WorkstationGrants.h"

namespace {

const QString kInspectionTrigger = QStringLiteral("PRUEFUNGEN_FAELLIG");
const QString kDeviceTrigger = QStringLiteral("PRUEFLINGE_FAELLIG");

// Workstations that store inspections of one device at once meet on its
// row: each waits for the one before it and, once that committed, gets an
// update conflict. Done again it sees the other's inspection (the
// transactions read what is committed), so the date it writes counts both.
// After many conflicts in a row the save is refused as any held row is.
QString refresh(const QString &device)
{
    return QStringLiteral("TRIES = 0; WHILE (TRIES >= 0) DO BEGIN "
                          "UPDATE FAELLIGKEITEN SET NEXT_PRUEFDATUM = %1 WHERE PRUEFLINGE_ID = %2; TRIES = -1; "
                          "WHEN GDSCODE deadlock, GDSCODE update_conflict DO BEGIN "
                          "TRIES = TRIES + 1; IF (TRIES > 20) THEN EXCEPTION; END END ")
        .arg(latestNextDateOf(device), device);
}

// A saved, corrected or deleted inspection sets its device's date anew; a
// change that touches neither the device nor a date writes nothing.
QString inspectionTrigger()
{
    return QStringLiteral("CREATE TRIGGER %1 FOR PRUEFUNGEN AFTER INSERT OR UPDATE OR DELETE POSITION 50 AS "
                          "DECLARE VARIABLE TRIES INTEGER; BEGIN "
                          "IF (UPDATING AND NEW.PRUEFLINGE_ID IS NOT DISTINCT FROM OLD.PRUEFLINGE_ID "
                          "AND NEW.PRUEFDATUM IS NOT DISTINCT FROM OLD.PRUEFDATUM "
                          "AND NEW.NEXT_PRUEFDATUM IS NOT DISTINCT FROM OLD.NEXT_PRUEFDATUM) THEN EXIT; "
                          "IF (NOT DELETING) THEN %2"
                          "IF (DELETING OR (UPDATING AND NEW.PRUEFLINGE_ID IS DISTINCT FROM OLD.PRUEFLINGE_ID)) THEN %3"
                          "END")
        .arg(kInspectionTrigger, refresh(QStringLiteral("NEW.PRUEFLINGE_ID")), refresh(QStringLiteral("OLD.PRUEFLINGE_ID")));
}

// A device has a row while it is active. Only a change of its state or key
// writes: saving a device's name or place never meets an inspection's save.
QString deviceTrigger()
{
    return QStringLiteral("CREATE TRIGGER %1 FOR PRUEFLINGE AFTER INSERT OR UPDATE OR DELETE POSITION 51 AS BEGIN "
                          "IF (NOT DELETING AND NEW.AKTIV = 1 AND (INSERTING OR OLD.AKTIV IS DISTINCT FROM 1 "
                          "OR OLD.ID <> NEW.ID)) THEN "
                          "UPDATE OR INSERT INTO FAELLIGKEITEN (PRUEFLINGE_ID, NEXT_PRUEFDATUM) VALUES (NEW.ID, %2) "
                          "MATCHING (PRUEFLINGE_ID); "
                          "IF (DELETING OR (UPDATING AND (NEW.AKTIV IS DISTINCT FROM 1 OR OLD.ID <> NEW.ID))) THEN "
                          "DELETE FROM FAELLIGKEITEN WHERE PRUEFLINGE_ID = OLD.ID; "
                          "END")
        .arg(kDeviceTrigger, latestNextDateOf(QStringLiteral("NEW.ID")));
}

} // namespace

void addDueTable(MigrationStep &step)
{
    using enum SchemaObject;
    step.add(Table, kDueTable,
             QStringLiteral("CREATE TABLE FAELLIGKEITEN (PRUEFLINGE_ID INTEGER NOT NULL PRIMARY KEY, NEXT_PRUEFDATUM DATE)"));
    step.add(Index, QStringLiteral("FAELLIGKEITEN_DATUM"),
             QStringLiteral("CREATE INDEX FAELLIGKEITEN_DATUM ON FAELLIGKEITEN (NEXT_PRUEFDATUM)"));
    step.commitPart();

    step.add(Trigger, kInspectionTrigger, inspectionTrigger());
    step.add(Trigger, kDeviceTrigger, deviceTrigger());
    step.exec(QStringLiteral("INSERT INTO FAELLIGKEITEN (PRUEFLINGE_ID, NEXT_PRUEFDATUM) SELECT L.ID, %1 "
                             "FROM PRUEFLINGE L WHERE L.AKTIV = 1 AND NOT EXISTS "
                             "(SELECT 1 FROM FAELLIGKEITEN F WHERE F.PRUEFLINGE_ID = L.ID)")
                  .arg(latestNextDateOf(QStringLiteral("L.ID"))));
    // The triggers write with rights of their own, so a workstation's login
    // needs only to read the table.
    for (const QString &trigger : {kInspectionTrigger, kDeviceTrigger}) {
        step.exec(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON FAELLIGKEITEN TO TRIGGER %1").arg(trigger));
        step.exec(QStringLiteral("GRANT SELECT ON PRUEFUNGEN TO TRIGGER %1").arg(trigger));
    }
    for (const QString &user : workstationLoginsWith(step.db(), QStringLiteral("PRUEFLINGE"), u'S'))
        step.exec(QStringLiteral("GRANT SELECT ON FAELLIGKEITEN TO USER \"%1\"").arg(user));
}

bool dueTableComplete(TDatabase &db) { return schemaObjectExists(db, SchemaObject::Trigger, kDeviceTrigger); }

// The evidence closed to changes: the procedure that appends to the chain,
// the triggers that refuse changes and deletions, and the rights of the
// workstations' logins cut down to reading and adding. One part: nothing is
// filled, so a run stopped anywhere leaves the version before it and the
// next start does the step again, finding what exists.
#include "Database.h"
#include "DatabaseFiles.h"
#include "EvidenceRights.h"
#include "Migration.h"
#include "UpgradeSteps.h"
#include "WorkstationGrants.h"

namespace {

const QString kRefusal = QStringLiteral("NACHWEIS_UNVERAENDERLICH");
const QString kOutOfOrder = QStringLiteral("FINGERABDRUCK_NICHT_NEUESTER");

QString guardName(const QString &table) { return table.left(24) + QStringLiteral("_SCHUTZ"); }

// Only the owner, who may drop the triggers anyway, passes: an upgrade or a
// repair by the firm's administrator stays possible, and a workstation's
// login that someone gave more rights by hand is still refused.
QString guard(const QString &table)
{
    return QStringLiteral("CREATE TRIGGER %1 FOR %2 BEFORE UPDATE OR DELETE POSITION 0 AS BEGIN "
                          "IF (CURRENT_USER IS DISTINCT FROM (SELECT TRIM(RDB$OWNER_NAME) FROM RDB$RELATIONS "
                          "WHERE RDB$RELATION_NAME = '%2')) THEN EXCEPTION %3; END")
        .arg(guardName(table), table, kRefusal);
}

// Appends an entry right after the newest (the first of an empty chain);
// the caller computed its content from that newest entry.
QString appendProcedure()
{
    return QStringLiteral(
               "CREATE PROCEDURE %1 (NR INTEGER, PRUEFUNG_ID INTEGER, ART VARCHAR(20), VERSION INTEGER, "
               "ERSTELLT TIMESTAMP, INHALT BLOB SUB_TYPE TEXT, WERT VARCHAR(64)) AS "
               "DECLARE VARIABLE NEUESTER INTEGER; BEGIN "
               "NEUESTER = COALESCE((SELECT FIRST 1 F.NR FROM FINGERABDRUECKE F ORDER BY F.NR DESC), 0); "
               "IF (:NR IS DISTINCT FROM NEUESTER + 1) THEN EXCEPTION %2; "
               "INSERT INTO FINGERABDRUECKE (NR, PRUEFUNG_ID, ART, VERSION, ERSTELLT, INHALT, WERT) "
               "VALUES (:NR, :PRUEFUNG_ID, :ART, :VERSION, :ERSTELLT, :INHALT, :WERT); END")
        .arg(kAppendProcedure, kOutOfOrder);
}

// The lock is taken as a change of the row would be, which needs the right
// to change it: the procedure has it, its callers need not. A lock does not
// fire the triggers that refuse changes.
QString lockHeadProcedure()
{
    return QStringLiteral("CREATE PROCEDURE %1 RETURNS (NR INTEGER, WERT VARCHAR(64)) AS "
                          "DECLARE VARIABLE GESPERRT INTEGER; BEGIN "
                          "SELECT FIRST 1 F.NR, F.WERT FROM FINGERABDRUECKE F ORDER BY F.NR DESC INTO :NR, :WERT; "
                          "IF (NR IS NOT NULL) THEN "
                          "SELECT F.NR FROM FINGERABDRUECKE F WHERE F.NR = :NR WITH LOCK INTO :GESPERRT; "
                          "SUSPEND; END")
        .arg(kLockHeadProcedure);
}

// Takes back from a login what the table's workstation rights leave out,
// as granted by whoever granted it.
void revokeBeyondWorkstationRights(MigrationStep &step, const QString &table)
{
    const QString allowed = workstationPrivileges(table, false);
    static const QList<std::pair<QString, QString>> privileges = {
        {QStringLiteral("I"), QStringLiteral("INSERT")}, {QStringLiteral("U"), QStringLiteral("UPDATE")},
        {QStringLiteral("D"), QStringLiteral("DELETE")}, {QStringLiteral("R"), QStringLiteral("REFERENCES")}};
    for (const auto &[code, name] : privileges) {
        if (allowed.contains(name))
            continue;
        const QStringList holders = firstColumn(step.db(), QStringLiteral(
            "SELECT DISTINCT '\"' || TRIM(RDB$USER) || '\" GRANTED BY \"' || TRIM(RDB$GRANTOR) || '\"' "
            "FROM RDB$USER_PRIVILEGES WHERE RDB$RELATION_NAME = '%1' AND RDB$PRIVILEGE = '%2' "
            "AND RDB$USER_TYPE = 8 AND RDB$USER <> CURRENT_USER").arg(table, code));
        for (const QString &holder : holders)
            step.exec(QStringLiteral("REVOKE %1 ON %2 FROM USER %3").arg(name, table, holder));
    }
}

} // namespace

void closeEvidence(MigrationStep &step)
{
    using enum SchemaObject;
    step.add(Exception, kRefusal,
             QStringLiteral("CREATE EXCEPTION %1 'Nachweise (Fingerabdrücke, frühere Fassungen, abgeschlossene Protokolle) "
                            "können nicht geändert oder gelöscht werden.'").arg(kRefusal));
    step.add(Exception, kOutOfOrder,
             QStringLiteral("CREATE EXCEPTION %1 'Ein Fingerabdruck kann nur an den neuesten angehängt werden.'").arg(kOutOfOrder));
    // A module raises an exception with a right of its own to it.
    for (const QString &table : kEvidenceTables) {
        step.add(Trigger, guardName(table), guard(table));
        step.exec(QStringLiteral("GRANT USAGE ON EXCEPTION %1 TO TRIGGER %2").arg(kRefusal, guardName(table)));
    }
    step.addModule(Procedure, kLockHeadProcedure, lockHeadProcedure());
    step.exec(QStringLiteral("GRANT SELECT, UPDATE ON FINGERABDRUECKE TO PROCEDURE %1").arg(kLockHeadProcedure));
    step.addModule(Procedure, kAppendProcedure, appendProcedure());
    step.exec(QStringLiteral("GRANT SELECT, INSERT ON FINGERABDRUECKE TO PROCEDURE %1").arg(kAppendProcedure));
    step.exec(QStringLiteral("GRANT USAGE ON EXCEPTION %1 TO PROCEDURE %2").arg(kOutOfOrder, kAppendProcedure));
    for (const QString &user : workstationLoginsWith(step.db(), QStringLiteral("FINGERABDRUECKE"), u'S'))
        for (const QString &procedure : kChainProcedures)
            step.exec(QStringLiteral("GRANT EXECUTE ON PROCEDURE %1 TO USER \"%2\"").arg(procedure, user));
    for (const QString &table : kEvidenceTables)
        revokeBeyondWorkstationRights(step, table);
}

bool evidenceClosed(TDatabase &db) { return chainThroughProcedures(db); }

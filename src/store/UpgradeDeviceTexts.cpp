// The table of the devices' distinct names and places, and the triggers
// that keep it. The engine lets a transaction fill a table only once the
// transaction that created it has committed, so the step has two parts:
//   part 1 (one commit): the empty table and the indexes on the columns;
//   part 2 (one commit, with the version number): the triggers, the texts
//     of the stored devices, and the workstations' rights on the table.
// Nothing is filled before part 2, so a run killed after part 1 is
// completed by the next start.
#include "Database.h"
#include "DeviceTexts.h"
#include "Migration.h"
#include "UpgradeSteps.h"
#include "WorkstationGrants.h"

namespace {

const QString kColumns[] = {QStringLiteral("BEZEICHNUNG"), QStringLiteral("ORT")};
const QString kTrigger = QStringLiteral("PRUEFLINGE_TEXTE");

QString columnIndex(const QString &column) { return QStringLiteral("PRUEFLINGE_") + column; }

// Adds the text unless it is there. The look-up first: a saved device whose
// texts are known writes nothing, so saves of many workstations never meet
// on a row. Two saves of the same new text at once: the second waits for
// the first and, when that committed, finds the key taken, which is fine.
QString keepText(const QString &column)
{
    return QStringLiteral("IF (NEW.%1 <> '' AND NOT EXISTS (SELECT 1 FROM PRUEFLING_TEXTE WHERE FELD = '%1' "
                          "AND TEXT = NEW.%1)) THEN BEGIN "
                          "INSERT INTO PRUEFLING_TEXTE (FELD, TEXT) VALUES ('%1', NEW.%1); "
                          "WHEN GDSCODE unique_key_violation, GDSCODE no_dup DO BEGIN END "
                          "END ")
        .arg(column);
}

} // namespace

void addDeviceTexts(MigrationStep &step)
{
    using enum SchemaObject;
    step.add(Table, kDeviceTextsTable,
             QStringLiteral("CREATE TABLE PRUEFLING_TEXTE (FELD VARCHAR(20) CHARACTER SET UTF8 NOT NULL, "
                            "TEXT VARCHAR(50) CHARACTER SET UTF8 NOT NULL, PRIMARY KEY (FELD, TEXT))"));
    for (const QString &column : kColumns)
        step.add(Index, columnIndex(column),
                 QStringLiteral("CREATE INDEX %1 ON PRUEFLINGE (%2)").arg(columnIndex(column), column));
    step.commitPart();

    QString body;
    for (const QString &column : kColumns)
        body += keepText(column);
    step.add(Trigger, kTrigger,
             QStringLiteral("CREATE TRIGGER %1 FOR PRUEFLINGE AFTER INSERT OR UPDATE POSITION 50 AS BEGIN %2END")
                 .arg(kTrigger, body));
    for (const QString &column : kColumns)
        step.exec(QStringLiteral("INSERT INTO PRUEFLING_TEXTE (FELD, TEXT) SELECT DISTINCT '%1', p.%1 FROM PRUEFLINGE p "
                                 "WHERE p.%1 <> '' AND NOT EXISTS (SELECT 1 FROM PRUEFLING_TEXTE t "
                                 "WHERE t.FELD = '%1' AND t.TEXT = p.%1)")
                      .arg(column));
    // A workstation's own login that may store devices fires the trigger,
    // which writes with the login's rights.
    for (const QString &user : workstationLoginsWith(step.db(), QStringLiteral("PRUEFLINGE"), u'I'))
        step.exec(QStringLiteral("GRANT SELECT, INSERT ON PRUEFLING_TEXTE TO USER \"%1\"").arg(user));
}

bool deviceTextsPresent(TDatabase &db) { return schemaObjectExists(db, SchemaObject::Trigger, kTrigger); }

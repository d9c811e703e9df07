// The schema's history: every step in the order it runs, with the number a
// file stores once the step is done. A new step goes at the end with the
// next number; a step that was released never changes.
#include "MigrationList.h"
#include "DatabaseIdentity.h"
#include "UpgradeSteps.h"

namespace {

std::function<bool(TDatabase &)> exists(SchemaObject kind, const QString &name, const QString &table = {})
{
    return [=](TDatabase &db) { return schemaObjectExists(db, kind, name, table); };
}

} // namespace

const QList<Migration> &migrations()
{
    using enum SchemaObject;
    static const QList<Migration> steps = {
        {1, QStringLiteral("Versionsnummer"), exists(Table, QStringLiteral("SCHEMAVERSION")), addSchemaVersionTable, true},
        {2, QStringLiteral("Grenzwert Schutzklasse I"), exists(Column, QStringLiteral("WERT_I"), QStringLiteral("GRENZWERTE")),
         addClassOneLimit},
        {3, QStringLiteral("Logo"), exists(Column, QStringLiteral("LOGO"), QStringLiteral("AUFTRAGNEHMER")), addContractorLogo},
        {4, QStringLiteral("Kurzname"), exists(Column, QStringLiteral("KURZNAME"), QStringLiteral("AUFTRAGNEHMER")),
         addContractorShortName},
        {5, QStringLiteral("Fingerabdrücke"), exists(Table, QStringLiteral("FINGERABDRUECKE")), addFingerprintTables},
        {6, QStringLiteral("Fingerabdrücke nachtragen"), everyInspectionFingerprinted, fingerprintStoredInspections},
        {7, QStringLiteral("Import"), importTablesPresent, addImportTables},
        {8, QStringLiteral("Index für den neuesten Fingerabdruck"), exists(Index, QStringLiteral("FINGERABDRUECKE_NR_DESC")),
         addChainHeadIndex, true},
        {9, QStringLiteral("Änderungsereignisse"), changeEventTriggersPresent, addChangeEventTriggers, true},
        {10, QStringLiteral("Zeichensatz UTF-8"), textsAreUtf8, convertTextsToUtf8, true},
        {11, QStringLiteral("Vorschläge für Bezeichnung und Ort"), deviceTextsPresent, addDeviceTexts, true},
        {12, QStringLiteral("Fälligkeiten je Prüfling"), dueTableComplete, addDueTable, true},
        {13, QStringLiteral("Nachweise unveränderlich"), evidenceClosed, closeEvidence, true},
        {kDatabaseIdentityStep, QStringLiteral("Kennung der Datenbank"), databaseIdentityPresent, addDatabaseIdentity, true},
    };
    return steps;
}

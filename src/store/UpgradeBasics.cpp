// Steps that add a table for the version or a single column.
#include "Migration.h"
#include "UpgradeSteps.h"

void addSchemaVersionTable(MigrationStep &step)
{
    step.add(SchemaObject::Table, QStringLiteral("SCHEMAVERSION"),
             QStringLiteral("CREATE TABLE SCHEMAVERSION (VERSION INTEGER NOT NULL)"));
    step.commitPart();
    // Every login reads the version at every start, also a workstation's own
    // login that was granted its rights before the table existed.
    step.exec(QStringLiteral("GRANT SELECT ON SCHEMAVERSION TO PUBLIC"));
}

void addClassOneLimit(MigrationStep &step)
{
    step.add(SchemaObject::Column, QStringLiteral("WERT_I"), QStringLiteral("ALTER TABLE GRENZWERTE ADD WERT_I DECIMAL (18,4)"),
             QStringLiteral("GRENZWERTE"));
    step.commitPart();
    // The substitute leakage current of a class-I device may reach 3.5 mA.
    step.exec(QStringLiteral("UPDATE GRENZWERTE SET WERT_I = WERT"));
    step.exec(QStringLiteral("UPDATE GRENZWERTE SET WERT_I = 3.5 WHERE ID = 2"));
}

void addContractorLogo(MigrationStep &step)
{
    // An image file's bytes, or null.
    step.add(SchemaObject::Column, QStringLiteral("LOGO"), QStringLiteral("ALTER TABLE AUFTRAGNEHMER ADD LOGO BLOB SUB_TYPE 0"),
             QStringLiteral("AUFTRAGNEHMER"));
}

void addContractorShortName(MigrationStep &step)
{
    // The firm's name as a label has room for it ("Elektro Jürgens"); the
    // full name stays for the protocols. Empty: the label shows the name.
    step.add(SchemaObject::Column, QStringLiteral("KURZNAME"), QStringLiteral("ALTER TABLE AUFTRAGNEHMER ADD KURZNAME VARCHAR(30)"),
             QStringLiteral("AUFTRAGNEHMER"));
}

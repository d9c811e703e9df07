// The tables of the measured-value import: the profiles that describe an
// instrument's export, the batches imported, and per imported inspection
// the checksum of the row as it was written, so that a batch is undone only
// while nobody has changed its inspections.
#include "Migration.h"
#include "UpgradeSteps.h"

void addImportTables(MigrationStep &step)
{
    step.add(SchemaObject::Table, QStringLiteral("IMPORTPROFILE"),
             QStringLiteral("CREATE TABLE IMPORTPROFILE (ID INTEGER NOT NULL, NAME VARCHAR(60) NOT NULL, "
                            "DEFINITION BLOB SUB_TYPE TEXT NOT NULL, PRIMARY KEY (ID), UNIQUE (NAME))"));
    step.add(SchemaObject::Table, QStringLiteral("IMPORTSTAPEL"),
             QStringLiteral("CREATE TABLE IMPORTSTAPEL (ID INTEGER NOT NULL, IMPORTIERT_AM TIMESTAMP NOT NULL, "
                            "DATEINAME VARCHAR(250), SHA256 VARCHAR(64) NOT NULL, PROFIL VARCHAR(60), "
                            "ZEILEN INTEGER NOT NULL, PRUEFER_ID INTEGER, RUECKGAENGIG_AM TIMESTAMP, PRIMARY KEY (ID))"));
    step.add(SchemaObject::Index, QStringLiteral("IMPORTSTAPEL_SHA256"),
             QStringLiteral("CREATE INDEX IMPORTSTAPEL_SHA256 ON IMPORTSTAPEL (SHA256)"));
    // The foreign key below needs IMPORTSTAPEL committed.
    step.commitPart();
    // No foreign key to PRUEFUNGEN: a deleted inspection must stay visible
    // as a change, not vanish with its row here.
    step.add(SchemaObject::Table, QStringLiteral("IMPORTZEILEN"),
             QStringLiteral("CREATE TABLE IMPORTZEILEN (PRUEFUNGEN_ID INTEGER NOT NULL, IMPORTSTAPEL_ID INTEGER NOT NULL, "
                            "PRUEFSUMME VARCHAR(64) NOT NULL, PRIMARY KEY (PRUEFUNGEN_ID), "
                            "CONSTRAINT IMPORTZEILEN_STAPEL FOREIGN KEY (IMPORTSTAPEL_ID) REFERENCES IMPORTSTAPEL(ID) "
                            "ON DELETE CASCADE)"));
    step.add(SchemaObject::Sequence, QStringLiteral("SEQ_IMPORT"), QStringLiteral("CREATE SEQUENCE SEQ_IMPORT"));
}

bool importTablesPresent(TDatabase &db)
{
    return schemaObjectExists(db, SchemaObject::Table, QStringLiteral("IMPORTPROFILE")) &&
           schemaObjectExists(db, SchemaObject::Table, QStringLiteral("IMPORTSTAPEL")) &&
           schemaObjectExists(db, SchemaObject::Table, QStringLiteral("IMPORTZEILEN")) &&
           schemaObjectExists(db, SchemaObject::Sequence, QStringLiteral("SEQ_IMPORT"));
}

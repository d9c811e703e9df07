// The tables of the measured-value import: the profiles that describe an
// instrument's export, the batches imported, and per imported inspection
// the checksum of the row as it was written, so that a batch is undone only
// while nobody has changed its inspections.
#include "UUpdateDB.h"

void TUpdateDB::UpgradeImportTables()
{
    if (!TableExists(QStringLiteral("IMPORTPROFILE")))
        ExecUpdate(QStringLiteral("CREATE TABLE IMPORTPROFILE (ID INTEGER NOT NULL, NAME VARCHAR(60) NOT NULL, "
                                  "DEFINITION BLOB SUB_TYPE TEXT NOT NULL, PRIMARY KEY (ID), UNIQUE (NAME))"));
    if (!TableExists(QStringLiteral("IMPORTSTAPEL"))) {
        ExecUpdate(QStringLiteral("CREATE TABLE IMPORTSTAPEL (ID INTEGER NOT NULL, IMPORTIERT_AM TIMESTAMP NOT NULL, "
                                  "DATEINAME VARCHAR(250), SHA256 VARCHAR(64) NOT NULL, PROFIL VARCHAR(60), "
                                  "ZEILEN INTEGER NOT NULL, PRUEFER_ID INTEGER, RUECKGAENGIG_AM TIMESTAMP, PRIMARY KEY (ID))"));
        ExecUpdate(QStringLiteral("CREATE INDEX IMPORTSTAPEL_SHA256 ON IMPORTSTAPEL (SHA256)"));
    }
    // No foreign key to PRUEFUNGEN: a deleted inspection must stay visible
    // as a change, not vanish with its row here.
    if (!TableExists(QStringLiteral("IMPORTZEILEN")))
        ExecUpdate(QStringLiteral("CREATE TABLE IMPORTZEILEN (PRUEFUNGEN_ID INTEGER NOT NULL, IMPORTSTAPEL_ID INTEGER NOT NULL, "
                                  "PRUEFSUMME VARCHAR(64) NOT NULL, PRIMARY KEY (PRUEFUNGEN_ID), "
                                  "CONSTRAINT IMPORTZEILEN_STAPEL FOREIGN KEY (IMPORTSTAPEL_ID) REFERENCES IMPORTSTAPEL(ID) "
                                  "ON DELETE CASCADE)"));
    if (!SequenceExists(QStringLiteral("SEQ_IMPORT")))
        ExecUpdate(QStringLiteral("CREATE SEQUENCE SEQ_IMPORT"));
}

bool TUpdateDB::SequenceExists(const QString &name)
{
    return countOf(QStringLiteral("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = :name"), name) > 0;
}

// Schema step for inspection labels.
#include "UUpdateDB.h"

void TUpdateDB::addContractorShortName()
{
    // The firm's name as a label has room for it ("Elektro Jürgens"); the
    // full name stays for the protocols. Empty: the label shows the name.
    if (!FieldExists(QStringLiteral("AUFTRAGNEHMER"), QStringLiteral("KURZNAME")))
        ExecUpdate(QStringLiteral("ALTER TABLE AUFTRAGNEHMER ADD KURZNAME VARCHAR(30)"));
}

#include "EvidenceRights.h"
#include "SchemaObjects.h"

bool chainThroughProcedures(TDatabase &db) { return schemaObjectExists(db, SchemaObject::Procedure, kAppendProcedure); }

QString workstationPrivileges(const QString &table, bool view)
{
    // The chain only through the procedure; the schema's version, the
    // database's identity, the due dates and the views are read; what a
    // correction keeps and a printed protocol closes is added, never changed.
    if (view || table == u"FINGERABDRUECKE" || table == u"SCHEMAVERSION" || table == u"FAELLIGKEITEN" ||
        table == u"DATENBANK_KENNUNG")
        return QStringLiteral("SELECT");
    if (table == u"PRUEFUNGEN_VERSIONEN" || table == u"PRUEFUNGEN_ABGESCHLOSSEN" || table == u"PRUEFLING_TEXTE")
        return QStringLiteral("SELECT, INSERT");
    return QStringLiteral("SELECT, INSERT, UPDATE, DELETE");
}

#pragma once
// A firm's file from before fingerprints: many inspections stored by an
// earlier program, none of them fingerprinted yet.
#include "Database.h"
#include "Query.h"
#include <QDateTime>

// Adds count inspections of the demo devices 1001 and 1002, keys from 20000,
// in the connection's current transaction.
inline void addStoredInspections(TDatabase &db, int count)
{
    TQuery insert(&db);
    insert.setSql("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                  "SCHUTZLEITWIDERSTAND, BEMERKUNG) VALUES (:ID, :DATUM, :NEXT, 11, 12, :GERAET, 0.05, :BEMERKUNG)");
    const QDateTime start(QDate(2015, 3, 2), QTime(8, 0));
    for (int i = 0; i < count; ++i) {
        insert.paramByName("ID").setAsInteger(20000 + i);
        insert.paramByName("DATUM").setAsDateTime(start.addSecs(60 * i));
        insert.paramByName("NEXT").setAsDateTime(start.addYears(1));
        insert.paramByName("GERAET").setAsInteger(1001 + i % 2);
        insert.paramByName("BEMERKUNG").setAsString(QStringLiteral("Steckdose %1").arg(i));
        insert.execQuery();
    }
}

#include "DueTable.h"
#include "SchemaObjects.h"

QString latestNextDateOf(const QString &device)
{
    return QStringLiteral("(SELECT FIRST 1 CAST(Q.NEXT_PRUEFDATUM AS DATE) FROM PRUEFUNGEN Q WHERE Q.PRUEFLINGE_ID = %1 "
                          "ORDER BY Q.PRUEFDATUM DESC, Q.ID DESC)")
        .arg(device);
}

bool dueTablePresent(TDatabase &db) { return schemaObjectExists(db, SchemaObject::Table, kDueTable); }

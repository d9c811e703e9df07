#include "CustomerNames.h"
#include "Query.h"

QList<QPair<int, QString>> customerNames(TDatabase &database, CustomerScope scope)
{
    TQuery query(&database);
    query.setSql(QStringLiteral("SELECT ID, NAME FROM KUNDEN %1ORDER BY NAME COLLATE UNICODE")
                     .arg(scope == CustomerScope::Active ? QStringLiteral("WHERE COALESCE(AKTIV, 1) <> 0 ") : QString()));
    QList<QPair<int, QString>> customers;
    for (query.execQuery(); !query.eof(); query.next())
        customers.append({static_cast<int>(query.asInteger(0)), query.asString(1)});
    return customers;
}

#include "CustomerList.h"
#include "Query.h"
#include <QComboBox>

void fillCustomerList(QComboBox *box, TDatabase &database)
{
    box->clear();
    TQuery query(&database);
    query.setSql(QStringLiteral("SELECT ID, NAME FROM KUNDEN ORDER BY NAME COLLATE DE_DE"));
    for (query.execQuery(); !query.eof(); query.next())
        box->addItem(query.asString(1), static_cast<int>(query.asInteger(0)));
    box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

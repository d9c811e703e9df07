#include "CustomerList.h"
#include "UDM.h"
#include <QComboBox>

void fillCustomerList(QComboBox *box, TfrmDM &dataModule, CustomerScope scope)
{
    box->clear();
    for (const auto &[id, name] : customerNames(dataModule.Database, scope))
        box->addItem(name, id);
    box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

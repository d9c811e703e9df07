#include "CustomerList.h"
#include "UDM.h"
#include <QComboBox>

void fillCustomerList(QComboBox *box, TfrmDM &dataModule)
{
    box->clear();
    for (const auto &[id, name] : dataModule.customerNames())
        box->addItem(name, id);
    box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

#pragma once
#include "CustomerNames.h"

class QComboBox;
class TfrmDM;

// Fills a list with the names of the customers in scope in German collation
// order, each carrying its ID, and selects the first (an empty list keeps none).
void fillCustomerList(QComboBox *box, TfrmDM &dataModule, CustomerScope scope = CustomerScope::All);

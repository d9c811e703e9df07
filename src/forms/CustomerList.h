#pragma once

class QComboBox;
class TfrmDM;

// Fills a list with every customer's name in German collation order, each
// carrying its ID, and selects the first (an empty list keeps none).
void fillCustomerList(QComboBox *box, TfrmDM &dataModule);

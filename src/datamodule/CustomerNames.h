#pragma once
// The customers' keys and names for choice lists, in German collation order.
#include <QList>
#include <QPair>
#include <QString>

class TDatabase;

enum class CustomerScope {
    All,
    // Without the customers set inactive; a customer whose AKTIV is empty
    // counts as active.
    Active,
};

QList<QPair<int, QString>> customerNames(TDatabase &database, CustomerScope scope);

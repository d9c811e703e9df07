#include "ReadOnlyConnection.h"
#include "Database.h"
#include <QVariant>

namespace {
// Kept on the connection object itself, so that every transaction of it
// finds the mark without the connection's class changing.
constexpr char kReadOnly[] = "velmoraReadOnly";
} // namespace

void makeReadOnly(TDatabase &db) { db.setProperty(kReadOnly, true); }

bool isReadOnly(const TDatabase &db) { return db.property(kReadOnly).toBool(); }

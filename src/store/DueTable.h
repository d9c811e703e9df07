#pragma once
// The next due date of every active device, kept in a table of its own
// (FAELLIGKEITEN: the device's key and the next date of its latest
// inspection, empty when it has none) by triggers on PRUEFUNGEN and
// PRUEFLINGE. The due list of all customers then reads the due devices
// through an index on the date instead of every device's latest inspection.
#include <QString>

class TDatabase;

inline const QString kDueTable = QStringLiteral("FAELLIGKEITEN");

// The next date of the latest inspection (by date, then by key) of the
// device whose key the expression device gives: a scalar subquery.
QString latestNextDateOf(const QString &device);

// Whether the file has the table (a file whose upgrade is left to the
// server's owner has not).
bool dueTablePresent(TDatabase &db);

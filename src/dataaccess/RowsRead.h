#pragma once
#include <QStringList>

class TDatabase;

// How many rows of the given tables this connection has read since it was
// attached, as the engine counts them (through an index or in table order):
// to confirm that a step reads only what it shows, however many rows the
// tables hold. Reads nothing of the tables themselves.
qint64 rowsRead(TDatabase &db, const QStringList &tables);

#pragma once

#include <QList>
#include <QString>

class TDatabase;

// Recomputes the selectivity of every index of the file's own tables. The
// engine's optimizer judges an index by it, and an index made on an empty
// table keeps 0 until it is recomputed, so that the engine reads whole
// tables where an index would find a few rows. Runs in the default
// transaction and commits it retaining: the engine computes the statistics
// at the commit. A login that may not alter indexes (a workstation's own
// login on a server) leaves them to the owner. Returns how many indexes it
// recomputed.
int recomputeIndexStatistics(TDatabase &db);

struct TTableGrowth {
    QString table;
    qint64 rowsAdded = 0;
};

// After rows were added: recomputes the indexes of each table that grew by
// a tenth or more of what its statistics last counted, or whose key was
// never counted. A few rows in a large table change no plan, and
// recomputing reads the whole index. Returns how many it recomputed.
int recomputeIndexStatisticsAfterGrowth(TDatabase &db, const QList<TTableGrowth> &grown);

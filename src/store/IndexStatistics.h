#pragma once

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

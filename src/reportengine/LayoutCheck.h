#pragma once
#include <QStringList>

struct TPageStream;

// The faults of a page stream's layout, one sentence each: a text that needs
// more room than its box, that leaves the printable area, or that overlaps
// another text. Empty for a sound report.
QStringList layoutFaults(const TPageStream &stream);

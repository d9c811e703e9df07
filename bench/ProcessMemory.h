#pragma once
#include <QString>

// A value of /proc/self/status in KiB ("VmHWM", "VmRSS"), -1 when unknown.
qint64 procStatusKiB(const char *key);

// Sets the peak (VmHWM) back to the current size, so that the next reading
// is the peak of what runs in between. Linux 4.0 and later. Freed heap is
// given back first, or what an earlier step held would still count.
bool resetPeak();

// "12.3 MiB" for a size in KiB.
QString mib(qint64 kib);

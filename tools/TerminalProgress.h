#pragma once
// How far long work is, on stderr: on a terminal one line that rewrites
// itself; into a log or a pipe a full line for the first report, then at
// most one every few seconds, and the last. "--quiet" turns it off.
#include "LongWork.h"
#include <QStringList>

namespace cli {

// Takes "--quiet" out of the arguments and turns the reports off for it.
void takeQuietOption(QStringList &args);
// Whether "--quiet" was given: notes on stderr are left out too.
bool quiet();
// Reports to stderr as described above.
Progress terminalProgress();
// Long work started deeper down (the upgrade when a command opens a file)
// runs where it is called and reports here too.
void reportLongWorkOnTerminal();
// Ends a rewritten line, so that what follows starts on a line of its own.
void endProgressLine();

} // namespace cli

#pragma once
#include <QString>

// "velmora-db anchor DB [--out FILE]": writes the anchor of the chain of
// fingerprints (its newest entry) to standard output, or into FILE and a
// printable page beside it (FILE's name with the ending ".pdf"). Returns
// the exit code (0 written, 1 refused, 2 not understood, 3 login refused).
int runAnchorCommand(int argc, char *argv[]);

// Where the page of an anchor written to path goes: the same name with the
// ending ".pdf" in place of its own.
QString anchorPdfPath(const QString &path);

#pragma once
#include <QString>

struct TPageStream;

// What the windows with a preview do with its pages: print them as the
// print dialog configures, or save them as a PDF file under a name chosen
// in the save dialog (an empty preview says there is nothing to save).
// Whether the pages were handed on (false when cancelled or empty).
bool printPages(const TPageStream &stream, int currentPage);
bool savePagesAsPdf(const TPageStream &stream, const QString &proposedPath);

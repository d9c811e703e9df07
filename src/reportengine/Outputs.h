#pragma once
#include <QList>
#include <QString>

struct TPageStream;
class QPageRanges;
class QPrinter;

// Renders the pages of a stream, unchanged, into a PDF/A-1b file with the
// stream's title, author and subject and the fonts embedded.
void renderPdf(const TPageStream &stream, const QString &path);

// The pages to send, in order: those of the ranges (all when empty), each
// copy in turn when collated, else each page copies times; last page first
// when reversed.
QList<int> printSequence(int pageCount, const QPageRanges &ranges, int copies, bool collate, bool reverse);

// Prints the stream through a printer as the print dialog configured it:
// its page ranges (or the current page), copies, collation and page order;
// duplex, paper and tray stay the printer's own. Each page is scaled onto
// the printer's paper.
void renderPrinter(const TPageStream &stream, QPrinter &printer, int currentPage = 1);

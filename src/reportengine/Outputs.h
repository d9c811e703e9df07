#pragma once
#include <QString>

struct TPageStream;

// Renders the pages of a stream, unchanged, into a PDF file.
void renderPdf(const TPageStream &stream, const QString &path);
// Renders pages first to last (1-based) of a stream on the printer of that
// name, copies times; the job's title and orientation come from the stream.
void renderPrinter(const TPageStream &stream, const QString &printerName, int first, int last, int copies);

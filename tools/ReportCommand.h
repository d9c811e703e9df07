#pragma once

// "velmora-db report DB ...": writes the PDF of a report as the report
// window does, from the same project file and record sets. Returns the
// exit code (0 done, 1 refused, 2 not understood).
int runReportCommand(int argc, char *argv[]);

#include <QString>
#include <functional>

class QCoreApplication;
class TfrmDM;
class TPageWriter;
struct TReportSelection;

// Runs a command that lays out pages: without a display, with the program's
// names and locale; body gets the arguments after the command's name.
int runWithPages(int argc, char *argv[], const std::function<int(const QStringList &args)> &body);

// Connects the data module to a database file; an empty text, or why not.
QString connectForReport(TfrmDM &dm, const QString &path);

// Writes the report whose record sets are open as a PDF file and says so
// on stdout; the exit code.
int writeReportPdf(TfrmDM &dm, const TReportSelection &selection, TPageWriter &writer, const QString &out);

#pragma once
#include "CommandLine.h"
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

class TCollectedMessages;
class TfrmDM;
class TPageWriter;
struct TReportSelection;

// What the commands that write pages ("report", "labels") share: exit
// codes, messages on standard error, whole numbers in arguments, and an
// application with fonts but without a display.
namespace pagecommand {

using cli::Exit;
using cli::Ok;
using cli::Refused;
using cli::Usage;
using cli::err;
using cli::isoDate;
using cli::number;
using cli::refuse;

// Connects the data module to a database file, or through a server with
// the login of "--user" and ISC_PASSWORD or the terminal; Ok, or the exit
// code after saying why not (with the data module's messages).
int connect(TfrmDM &dm, const QString &path, TCollectedMessages &messages);

// Writes the report of a selection whose record sets are open as a PDF
// file and says so on standard output; the exit code.
int writeReportPdf(TfrmDM &dm, const TReportSelection &selection, TPageWriter &writer, const QString &out);

// Runs a command: "--user NAME" is taken out for connect, parse reads the
// other arguments after the command's name and
// returns why it did not understand them (then usage prints how to call
// it), write does the work with the data module's messages collected; an
// engine error is printed and refused.
int run(int argc, char *argv[], const std::function<QString(const QStringList &args)> &parse,
        const std::function<int(const QString &why)> &usage, const std::function<int(TCollectedMessages &)> &write);

// run() for a command whose arguments fill a request that write carries out.
template <class Request>
int run(int argc, char *argv[], QString (*parse)(const QStringList &, Request &), int (*usage)(const QString &),
        int (*write)(const Request &, TCollectedMessages &))
{
    Request request;
    return run(
        argc, argv, [&request, parse](const QStringList &args) { return parse(args, request); }, usage,
        [&request, write](TCollectedMessages &messages) { return write(request, messages); });
}

} // namespace pagecommand

#include "PageCommand.h"
#include "CollectedMessages.h"
#include "DbError.h"
#include "ProgramLocale.h"
#include "Outputs.h"
#include "PageWriter.h"
#include "ReportJob.h"
#include "ServerAccess.h"
#include "TerminalProgress.h"
#include "ToolConnection.h"
#include "Database.h"
#include "ReportSelection.h"
#include "UDM.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

namespace pagecommand {

int connect(TfrmDM &dm, const QString &path, TCollectedMessages &messages)
{
    if (onServer(path)) {
        const std::optional<TServerLogin> login = askServerLogin(serverUser());
        if (!login)
            return kExitLogin;
        dm.setServerLogin(path, *login);
    } else if (missing(path)) {
        return refuseMissing(path);
    }
    if (dm.Connect(path))
        return Ok;
    refuse(messages.messages.join(u'\n'));
    // A refused login is told apart from a refused file (and, for verify,
    // from evidence found changed).
    return onServer(path) && !dm.hasServerLogin() ? kExitLogin : Refused;
}

int writeReportPdf(TfrmDM &dm, const TReportSelection &selection, TPageWriter &writer, const QString &out)
{
    TPageStream stream;
    reportjob::execute(dm, selection.reportName(), writer, stream);
    renderPdf(stream, out);
    const auto pages = stream.pages.size();
    cli::out() << QStringLiteral("Bericht geschrieben: %1 (%2 %3)")
                      .arg(out)
                      .arg(pages)
                      .arg(pages == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten"))
               << Qt::endl;
    return Ok;
}

int run(int argc, char *argv[], const std::function<QString(const QStringList &args)> &parse,
        const std::function<int(const QString &why)> &usage, const std::function<int(TCollectedMessages &)> &write)
{
    // Pages are laid out with fonts, not shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    applyProgramLocale(); // numbers and dates as the program shows them
    QStringList args = app.arguments().mid(2);
    cli::takeQuietOption(args);
    cli::reportLongWorkOnTerminal();
    bool malformed = false;
    setServerUser(takeUserOption(args, malformed));
    const QString problem = malformed ? QStringLiteral("--user ohne Namen") : parse(args);
    if (!problem.isEmpty())
        return usage(problem);
    TCollectedMessages messages; // the data module's messages, printed on failure
    try {
        return write(messages);
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
}

} // namespace pagecommand

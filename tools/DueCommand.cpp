#include "DueCommand.h"
#include "Clock.h"
#include "CommandLine.h"
#include "DueCsv.h"
#include "FileCopy.h"
#include "PageWriter.h"
#include "Query.h"
#include "PageCommand.h"
#include "CollectedMessages.h"
#include "ReportJob.h"
#include "UDM.h"
#include <cerrno>
#include <cstdio>

namespace {

// A script reading the list must never get a short one: every write, the
// flush and the stream's error state are checked.
int writeToStandardOutput(const QByteArray &bytes)
{
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if (written == static_cast<size_t>(bytes.size()) && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return cli::Ok;
    const int error = errno != 0 ? errno : EIO;
    return cli::refuse(QStringLiteral("Die Liste konnte nicht vollständig ausgegeben werden.\n") +
                  writeFailureText(QStringLiteral("die Standardausgabe"), error));
}

using namespace pagecommand;

struct DueRequest {
    QString database, out;
    bool csv = false;
    std::optional<int> customer;
    std::optional<QDate> until;
    std::optional<int> withinDays;
};

int usage(const QString &why)
{
    err() << why << "\n"
          << "Aufruf:\n"
             "  velmora-db due PFAD [--customer KUNDE_ID] [--until JJJJ-MM-TT | "
             "--within TAGE] (--out DATEI.pdf | --csv)\n"
             "  Ohne --until und --within: was in 30 Tagen fällig ist. "
             "Überfälliges ist immer dabei.\n"
          << Qt::flush;
    return cli::Usage;
}

// Parses the arguments after "due"; an empty text when understood.
QString parse(const QStringList &args, DueRequest &r)
{
    if (args.isEmpty() || args.first().startsWith(u"--"))
        return QStringLiteral("Es fehlt die Datenbankdatei.");
    r.database = args.first();
    for (int i = 1; i < args.size(); ++i) {
        const QString &option = args.at(i);
        auto next = [&]() -> QString { return i + 1 < args.size() ? args.at(++i) : QString(); };
        if (option == u"--out") {
            r.out = next();
        } else if (option == u"--csv") {
            r.csv = true;
        } else if (option == u"--customer") {
            if (!(r.customer = cli::number(next())))
                return QStringLiteral("--customer erwartet eine Kundennummer.");
        } else if (option == u"--until") {
            r.until = cli::isoDate(next());
            if (!r.until->isValid())
                return QStringLiteral("--until erwartet einen Tag JJJJ-MM-TT.");
        } else if (option == u"--within") {
            if (!(r.withinDays = cli::number(next())))
                return QStringLiteral("--within erwartet eine Zahl von Tagen.");
        } else {
            return QStringLiteral("Unbekannte Angabe: %1").arg(option);
        }
    }
    if (r.until && r.withinDays)
        return QStringLiteral("Nur eines von --until und --within.");
    if (r.csv == !r.out.isEmpty())
        return QStringLiteral("Genau eines von --out DATEI.pdf und --csv.");
    return QString();
}

bool customerExists(TfrmDM &dm, int id)
{
    TQuery query(&dm.Database);
    query.setSql(QStringLiteral("SELECT COUNT(*) FROM KUNDEN WHERE ID = :ID"));
    query.paramByName(QStringLiteral("ID")).setAsInteger(id);
    query.execQuery();
    return query.asInteger(0) > 0;
}

int writeDueList(const DueRequest &r, TCollectedMessages &messages)
{
    TfrmDM dm;
    if (const int failed = connect(dm, r.database, messages); failed != Ok)
        return failed;
    if (r.customer && !customerExists(dm, *r.customer))
        return refuse(QStringLiteral("Einen Kunden mit der Nummer %1 gibt es nicht.").arg(*r.customer));
    const QDate today = TClock::today();
    const int days = r.withinDays.value_or(kDueSoonDays);
    TReportSelection selection;
    selection.report = TReportSelection::Report::Due;
    selection.customerId = r.customer.value_or(-1);
    selection.dueUntil = r.until.value_or(today.addDays(days));
    selection.dueHorizon = r.until ? dueUntilText(*r.until) : dueWithinDaysText(days, today);
    if (r.csv) {
        const QByteArray csv = dueListCsv(dm.dueDevices(selection.dueUntil, r.customer), today).toUtf8();
        return writeToStandardOutput(csv);
    }
    dm.openReport(selection);
    TPageWriter writer;
    reportjob::setDueSelection(writer, selection, dm);
    return writeReportPdf(dm, selection, writer, r.out);
}

} // namespace

int runDueCommand(int argc, char *argv[])
{
    return pagecommand::run(argc, argv, parse, usage, writeDueList);
}

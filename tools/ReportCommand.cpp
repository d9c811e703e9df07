#include "ReportCommand.h"
#include "CollectedMessages.h"
#include "PageCommand.h"
#include "Clock.h"
#include "DbError.h"
#include "Outputs.h"
#include "PageWriter.h"
#include "ReportJob.h"
#include "UDM.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

using namespace pagecommand;

struct Request {
    QString database, out;
    enum class Kind { None, Protocol, Day, Inventory } kind = Kind::None;
    int id = 0; // inspection or customer
    QDate day;
    std::optional<QDate> due;
    int result = 0;         // 0 all, 1 passed, 2 failed
    int devices = 100;      // 100 all, 110 active, 120 inactive
};

int usage(const QString &why)
{
    err() << why << "\n"
          << "Aufruf:\n"
             "  velmora-db report PFAD --protocol PRUEFUNG_ID --out DATEI.pdf\n"
             "  velmora-db report PFAD --day KUNDE_ID JJJJ-MM-TT [--result all|passed|failed] [--devices all|active|inactive] --out DATEI.pdf\n"
             "  velmora-db report PFAD --inventory KUNDE_ID [--due JJJJ-MM-TT] [--devices all|active|inactive] --out DATEI.pdf\n"
          << Qt::flush;
    return Usage;
}

// Parses the arguments after "report"; an empty text when understood.
QString parse(const QStringList &args, Request &r)
{
    if (args.isEmpty() || args.first().startsWith(u"--"))
        return QStringLiteral("Es fehlt die Datenbankdatei.");
    r.database = args.first();
    static const QMap<QString, int> results = {{"all", 0}, {"passed", 1}, {"failed", 2}};
    static const QMap<QString, int> devices = {{"all", 100}, {"active", 110}, {"inactive", 120}};
    for (int i = 1; i < args.size(); ++i) {
        const QString &option = args.at(i);
        auto next = [&]() -> QString { return i + 1 < args.size() ? args.at(++i) : QString(); };
        if (option == u"--out") {
            r.out = next();
        } else if (option == u"--protocol" || option == u"--day" || option == u"--inventory") {
            if (r.kind != Request::Kind::None)
                return QStringLiteral("Nur ein Bericht je Aufruf.");
            r.kind = option == u"--protocol" ? Request::Kind::Protocol
                     : option == u"--day"    ? Request::Kind::Day
                                             : Request::Kind::Inventory;
            const auto id = number(next());
            if (!id)
                return QStringLiteral("%1 erwartet eine Nummer.").arg(option);
            r.id = *id;
            if (r.kind == Request::Kind::Day && !(r.day = isoDate(next())).isValid())
                return QStringLiteral("--day erwartet einen Tag JJJJ-MM-TT.");
        } else if (option == u"--due") {
            r.due = isoDate(next());
            if (!r.due->isValid())
                return QStringLiteral("--due erwartet einen Tag JJJJ-MM-TT.");
        } else if (option == u"--result" && results.contains(args.value(i + 1))) {
            r.result = results.value(next());
        } else if (option == u"--devices" && devices.contains(args.value(i + 1))) {
            r.devices = devices.value(next());
        } else {
            return QStringLiteral("Unbekannte Angabe: %1").arg(option);
        }
    }
    if (r.kind == Request::Kind::None)
        return QStringLiteral("Es fehlt der Bericht: --protocol, --day oder --inventory.");
    if (r.out.isEmpty())
        return QStringLiteral("Es fehlt die Ausgabedatei: --out DATEI.pdf.");
    if (r.due && r.kind != Request::Kind::Inventory)
        return QStringLiteral("--due gilt nur für --inventory.");
    return QString();
}

// Opens the record sets of the request.
TReportSelection openRecordSets(TfrmDM &dm, const Request &r, TPageWriter &writer)
{
    TReportSelection selection;
    selection.resultFilter = r.result;
    selection.deviceFilter = r.devices;
    if (r.kind == Request::Kind::Protocol) {
        selection.inspectionId = r.id;
    } else if (r.kind == Request::Kind::Day) {
        selection.report = TReportSelection::Report::Day;
        selection.customerId = r.id;
        selection.day = r.day;
    } else {
        selection.report = TReportSelection::Report::Inventory;
        selection.customerId = r.id;
        // As the window: due by a month from today unless a day is given.
        selection.dueDate = r.due.value_or(TClock::today().addMonths(1));
        selection.onlyDue = r.due.has_value();
        reportjob::setInventorySelection(writer, selection.deviceFilter, selection.dueDate, selection.onlyDue);
    }
    dm.openReport(selection);
    return selection;
}

int writeReport(const Request &r, TCollectedMessages &messages)
{
    TfrmDM dm;
    if (const int failed = connect(dm, r.database, messages); failed != Ok)
        return failed;
    TPageWriter writer;
    const TReportSelection selection = openRecordSets(dm, r, writer);
    const bool empty = r.kind == Request::Kind::Inventory ? dm.dsetReportInventar.isEmpty() : dm.dsetReportPruefungen.isEmpty();
    if (empty)
        return refuse(QStringLiteral("Für diese Auswahl gibt es nichts zu berichten; es wurde keine Datei geschrieben."));
    const int written = writeReportPdf(dm, selection, writer, r.out);
    if (written == Ok && r.kind != Request::Kind::Inventory)
        dm.closeReportedInspections(); // the protocols are handed over
    return written;
}

} // namespace

int runReportCommand(int argc, char *argv[])
{
    return pagecommand::run(argc, argv, parse, usage, writeReport);
}

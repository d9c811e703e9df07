#include "ReportCommand.h"
#include "ServerAccess.h"
#include "CollectedMessages.h"
#include "Clock.h"
#include "DbError.h"
#include "Outputs.h"
#include "PageWriter.h"
#include "ReportJob.h"
#include "ProgramLocale.h"
#include "UDM.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

enum Exit { Ok = 0, Refused = 1, Usage = 2 };

struct Request {
    QString database, out;
    enum class Kind { None, Protocol, Day, Inventory } kind = Kind::None;
    int id = 0; // inspection or customer
    QDate day;
    std::optional<QDate> due;
    int result = 0;         // 0 all, 1 passed, 2 failed
    int devices = 100;      // 100 all, 110 active, 120 inactive
};

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

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

int refuse(const QString &message)
{
    err() << message << Qt::endl;
    return Refused;
}

std::optional<int> number(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

QDate isoDate(const QString &text) { return QDate::fromString(text, Qt::ISODate); }

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

// Opens the record sets of the request and names the report they feed.
QString openRecordSets(TfrmDM &dm, const Request &r, TPageWriter &writer)
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
    return selection.reportName();
}

int writeReport(const Request &r, const QString &user, TCollectedMessages &messages)
{
    const bool onServer = TDatabase::isServerName(r.database);
    if (!onServer && !QFileInfo::exists(r.database))
        return refuse(QStringLiteral("Die Datei %1 gibt es nicht.").arg(r.database));
    TfrmDM dm;
    if (onServer) {
        const std::optional<TServerLogin> login = askServerLogin(user);
        if (!login)
            return kExitLogin;
        dm.setServerLogin(r.database, *login);
    }
    if (!dm.Connect(r.database))
        return refuse(messages.messages.join(u'\n'));
    TReportProject project;
    TPageWriter writer;
    const QString name = openRecordSets(dm, r, writer);
    const bool empty = r.kind == Request::Kind::Inventory ? dm.dsetReportInventar.isEmpty() : dm.dsetReportPruefungen.isEmpty();
    if (empty)
        return refuse(QStringLiteral("Für diese Auswahl gibt es nichts zu berichten; es wurde keine Datei geschrieben."));
    project.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
    project.selectReport(name);
    reportjob::prepare(writer, *project.selected(), dm);
    TPageStream stream;
    writer.execute(*project.selected(), reportjob::connections(dm), stream);
    renderPdf(stream, r.out);
    const auto pages = stream.pages.size();
    QTextStream(stdout) << QStringLiteral("Bericht geschrieben: %1 (%2 %3)")
                               .arg(r.out)
                               .arg(pages)
                               .arg(pages == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten"))
                        << Qt::endl;
    return Ok;
}

} // namespace

int runReportCommand(int argc, char *argv[])
{
    // Pages are laid out with fonts, not shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    applyProgramLocale(); // numbers and dates as the program shows them
    Request request;
    QStringList args = app.arguments().mid(2);
    bool malformed = false;
    const QString user = takeUserOption(args, malformed);
    const QString problem = malformed ? QStringLiteral("--user ohne Namen") : parse(args, request);
    if (!problem.isEmpty())
        return usage(problem);
    TCollectedMessages messages; // the data module's messages, printed on failure
    try {
        return writeReport(request, user, messages);
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
}

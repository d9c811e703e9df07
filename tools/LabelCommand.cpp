#include "LabelCommand.h"
#include "CollectedMessages.h"
#include "PageCommand.h"
#include "DbError.h"
#include "LabelData.h"
#include "LabelJob.h"
#include "LabelStock.h"
#include "Outputs.h"
#include "ReportProject.h"
#include "UDM.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

using namespace pagecommand;

struct Request {
    QString database, out;
    QList<int> devices;
    int customer = -1;
    QDate day;
    std::optional<TLabelStock> stock;
    int first = 1;
};

int usage(const QString &why)
{
    QStringList stocks;
    for (const TLabelStock &s : labelStockPresets())
        stocks << QStringLiteral("    %1  %2").arg(s.key, -12).arg(s.title);
    err() << why << "\n"
          << "Aufruf:\n"
             "  velmora-db labels PFAD --device PRUEFLING_ID... --stock MATERIAL [--first N] --out DATEI.pdf\n"
             "  velmora-db labels PFAD --day KUNDE_ID JJJJ-MM-TT --stock MATERIAL [--first N] --out DATEI.pdf\n"
             "MATERIAL:\n"
          << stocks.join(u'\n') << "\n    rolle-BxH     eine Rolle beliebiger Größe in mm, z. B. rolle-100x50\n"
          << "--first N: die erste freie Position auf einem angebrochenen Bogen (1 = oben links)\n"
          << Qt::flush;
    return Usage;
}

// Parses the arguments after "labels"; an empty text when understood.
QString parse(const QStringList &args, Request &r)
{
    if (args.isEmpty() || args.first().startsWith(u"--"))
        return QStringLiteral("Es fehlt die Datenbankdatei.");
    r.database = args.first();
    for (int i = 1; i < args.size(); ++i) {
        const QString &option = args.at(i);
        auto next = [&]() -> QString { return i + 1 < args.size() ? args.at(++i) : QString(); };
        if (option == u"--out") {
            r.out = next();
        } else if (option == u"--device") {
            // One key or several, up to the next option.
            const auto before = r.devices.size();
            while (i + 1 < args.size() && !args.at(i + 1).startsWith(u"--")) {
                const auto id = number(next());
                if (!id)
                    return QStringLiteral("--device erwartet Nummern von Prüflingen.");
                r.devices << *id;
            }
            if (r.devices.size() == before)
                return QStringLiteral("--device erwartet Nummern von Prüflingen.");
        } else if (option == u"--day") {
            const auto customer = number(next());
            r.day = QDate::fromString(next(), Qt::ISODate);
            if (!customer || !r.day.isValid())
                return QStringLiteral("--day erwartet eine Kundennummer und einen Tag JJJJ-MM-TT.");
            r.customer = *customer;
        } else if (option == u"--stock") {
            const QString key = next();
            r.stock = labelStockByKey(key);
            if (!r.stock)
                return QStringLiteral("Unbekanntes Etikettenmaterial: %1").arg(key);
        } else if (option == u"--first") {
            const auto first = number(next());
            if (!first || *first < 1)
                return QStringLiteral("--first erwartet eine Position ab 1.");
            r.first = *first;
        } else {
            return QStringLiteral("Unbekannte Angabe: %1").arg(option);
        }
    }
    if (r.devices.isEmpty() == (r.customer < 0))
        return QStringLiteral("Es braucht entweder --device oder --day.");
    if (!r.stock)
        return QStringLiteral("Es fehlt das Etikettenmaterial: --stock MATERIAL.");
    if (r.out.isEmpty())
        return QStringLiteral("Es fehlt die Ausgabedatei: --out DATEI.pdf.");
    return QString();
}

// The devices asked for that get no label.
QList<int> withoutLabel(const QList<int> &asked, TDataSet &labels)
{
    QList<int> missing = asked;
    const TField *device = labels.fieldByName(QStringLiteral("PRUEFLING_ID"));
    for (int row = 0; row < labels.recordCount(); ++row)
        missing.removeAll(static_cast<int>(valueToInteger(labels.valueAt(row, device))));
    return missing;
}

int writeLabels(const Request &r, TCollectedMessages &messages)
{
    TLabelSheet sheet = r.stock->sheet;
    sheet.first = r.first;
    if (const QString fault = sheet.fault(); !fault.isEmpty())
        return refuse(fault);
    TfrmDM dm;
    if (const int failed = connect(dm, r.database, messages); failed != Ok)
        return failed;
    TLabelData data(dm);
    if (r.devices.isEmpty())
        data.openForDay(r.customer, r.day);
    else
        data.openForDevices(r.devices);
    for (int id : withoutLabel(r.devices, data.records()))
        err() << QStringLiteral("Kein Etikett für Prüfling %1: unbekannt oder noch nie geprüft.").arg(id) << Qt::endl;
    if (data.records().isEmpty())
        return refuse(QStringLiteral("Für diese Auswahl gibt es kein Etikett; es wurde keine Datei geschrieben."));
    TReportProject project;
    project.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
    TPageStream stream;
    labeljob::write(project, data, sheet, dm, stream);
    renderPdf(stream, r.out);
    QTextStream(stdout) << QStringLiteral("Etiketten geschrieben: %1 (%2)")
                               .arg(r.out, labeljob::countText(data.records().recordCount(), stream.pages.size()))
                        << Qt::endl;
    return Ok;
}

} // namespace

int runLabelCommand(int argc, char *argv[])
{
    return pagecommand::run(argc, argv, parse, usage, writeLabels);
}

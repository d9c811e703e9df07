#include "ImportCommand.h"
#include "ServerAccess.h"
#include "ToolConnection.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "DryRun.h"
#include "ImportBatch.h"
#include "ExportFile.h"
#include "ProfileStore.h"
#include "ProgramLocale.h"
#include "Query.h"
#include "CommandLine.h"
#include "BackgroundUpgrade.h"
#include "TerminalProgress.h"
#include "UUpdateDB.h"
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

using cli::err;
using cli::out;
using cli::refuse;
using cli::usageWith;

enum Exit { AllReady = 0, RowsLeftOut = 3 }; // 1 refused, 2 not understood: CommandLine.h

struct Request {
    QString database, file, profile, inspector, instrument;
    bool dryRun = false;
};

int usage(const QString &why)
{
    return usageWith(why, "  velmora-db import PFAD DATEI --profile NAME [--dry-run] [--pruefer NAME] [--geraet NAME] [--quiet]\n"
                          "    NAME des Profils in der Datenbank oder Pfad einer Profildatei (.json);\n"
                          "    --pruefer für Zeilen ohne Prüfer, --geraet das Prüfgerät der Messungen\n"
                          "    (ohne Angabe: das einzige angelegte).\n");
}

QString parse(const QStringList &args, Request &r)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto value = [&](QString &target) {
            if (i + 1 >= args.size())
                return false;
            target = args[++i];
            return true;
        };
        if (a == u"--dry-run")
            r.dryRun = true;
        else if (a == u"--profile") {
            if (!value(r.profile))
                return QStringLiteral("Nach --profile fehlt der Name.");
        } else if (a == u"--pruefer") {
            if (!value(r.inspector))
                return QStringLiteral("Nach --pruefer fehlt der Name.");
        } else if (a == u"--geraet") {
            if (!value(r.instrument))
                return QStringLiteral("Nach --geraet fehlt der Name.");
        } else if (a.startsWith(u"--"))
            return QStringLiteral("Unbekannte Angabe %1.").arg(a);
        else
            positional << a;
    }
    if (positional.size() != 2)
        return QStringLiteral("Datenbank und Exportdatei angeben.");
    if (r.profile.isEmpty())
        return QStringLiteral("Das Importprofil fehlt (--profile NAME).");
    r.database = positional[0];
    r.file = positional[1];
    return {};
}

std::optional<TImportProfile> profileNamed(TDatabase &db, const QString &name, QString *error)
{
    if (auto stored = loadProfile(db, name, error))
        return stored;
    if (!QFileInfo(name).isFile())
        return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Die Profildatei %1 kann nicht gelesen werden: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    return TImportProfile::fromJsonText(file.readAll(), error);
}

// The key of the named row of a master table, or of its only row when no
// name is given; the reason otherwise.
int chooseRow(TDatabase &db, const QString &table, const QString &name, const QString &what, const QString &option,
              QString *error)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT ID, NAME FROM %1 ORDER BY NAME").arg(table));
    QList<QPair<int, QString>> rows;
    for (q.execQuery(); !q.eof(); q.next())
        rows.append({static_cast<int>(q.asInteger(0)), q.asString(1)});
    q.close();
    QStringList names;
    for (const auto &[id, rowName] : rows) {
        if (!name.isEmpty() && rowName.compare(name, Qt::CaseInsensitive) == 0)
            return id;
        names << rowName;
    }
    if (name.isEmpty() && rows.size() == 1)
        return rows.first().first;
    *error = name.isEmpty() ? QStringLiteral("Bitte %1 mit %2 NAME wählen: %3.").arg(what, option, names.join(QStringLiteral(", ")))
                            : QStringLiteral("%1 „%2“ ist nicht angelegt (angelegt: %3).").arg(what, name, names.join(QStringLiteral(", ")));
    return 0;
}

// As the program shows values: at least two places.
QString valueText(const std::optional<TDecimal> &value)
{
    if (!value)
        return QStringLiteral("-");
    const int places = std::max(2, static_cast<int>(value->toPlainString().section(u'.', 1).size()));
    return QLocale().toString(value->toDouble(), 'f', places);
}

void printTable(const TDryRun &run)
{
    out() << "Zeile\tZustand\tPrüfling\tDatum\tSL-Widerst.\tIsolation\tErsatzabl.\tDifferenz\tBerührung\tUrteil\tMeldung\n";
    for (const TImportRow &r : run.rows) {
        QStringList cells{QString::number(r.line), rowStateText(r.state),
                          r.deviceText.isEmpty() ? QStringLiteral("?") : r.deviceText,
                          r.when.isValid() ? r.when.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QStringLiteral("-")};
        for (const auto &v : r.values)
            cells << valueText(v);
        cells << (!r.judged ? QStringLiteral("-") : r.ourVerdict ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden"));
        cells << r.message();
        out() << cells.join(u'\t') << '\n';
    }
    out() << "Summe: " << run.countsText() << '\n';
    if (!run.fileNotice.isEmpty())
        out() << run.fileNotice << '\n';
    out() << Qt::flush;
}

void printLeftOut(const TDryRun &run)
{
    err() << "Nicht importiert:\n";
    for (const TImportRow &r : run.rows)
        if (!r.ready())
            err() << "  Zeile " << r.line << ": " << rowStateText(r.state) << " – " << r.message() << '\n';
    err() << Qt::flush;
}

int run(const Request &r)
{
    TToolConnection connection(r.database);
    if (const int failed = connection.openOrRefuse(); failed != cli::Ok)
        return failed;
    TDatabase &db = connection.db;
    TTransaction &transaction = connection.transaction;
    const TExportFile file = readExportFile(r.file);
    if (!file.ok())
        return refuse(file.failure);
    const QByteArray &bytes = file.bytes;
    try {
        if (!isVelmoraDatabase(db))
            return refuse(QStringLiteral("%1 ist keine Datenbank von Velmora Prüfprotokolle.").arg(r.database));
        TUpdateDB(&db).CheckAndUpdate(upgradeProgress(cli::terminalProgress()));
        QString error;
        const auto profile = profileNamed(db, r.profile, &error);
        if (!profile)
            return refuse(error);
        TImportChoice choice;
        choice.inspectorId = chooseRow(db, QStringLiteral("PRUEFER"), r.inspector, QStringLiteral("Prüfer"),
                                       QStringLiteral("--pruefer"), &error);
        if (choice.inspectorId == 0)
            return refuse(error);
        choice.instrumentId = chooseRow(db, QStringLiteral("PRUEFGERAETE"), r.instrument, QStringLiteral("Prüfgerät"),
                                        QStringLiteral("--geraet"), &error);
        if (choice.instrumentId == 0)
            return refuse(error);
        const TDryRun dryRun = dryRunImport(db, *profile, r.file, bytes, choice, cli::terminalProgress());
        if (!dryRun.fileError.isEmpty())
            return refuse(QStringLiteral("%1: %2").arg(r.file, dryRun.fileError));
        printTable(dryRun);
        if (!r.dryRun) {
            const TImportResult result = importDryRun(db, dryRun, {}, cli::terminalProgress());
            transaction.commit();
            if (result.batchId)
                out() << "Importiert: " << result.imported << " Prüfungen (Stapel " << result.batchId << ")." << Qt::endl;
            else
                out() << "Importiert: nichts, keine Zeile war bereit." << Qt::endl;
        } else {
            out() << "Probelauf: nichts wurde geschrieben." << Qt::endl;
        }
        if (dryRun.readyCount() == dryRun.rows.size())
            return AllReady;
        printLeftOut(dryRun);
        return RowsLeftOut;
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
}

} // namespace

int runImportCommand(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Orbenta"));
    app.setApplicationName(QStringLiteral("Tarnholm"));
    applyProgramLocale();
    Request request;
    QStringList args = app.arguments().mid(2);
    cli::takeQuietOption(args);
    bool malformed = false;
    setServerUser(takeUserOption(args, malformed));
    if (const QString problem = malformed ? QStringLiteral("--user ohne Namen") : parse(args, request); !problem.isEmpty())
        return usage(problem);
    return run(request);
}

#include "VerifyCommand.h"
#include "PageCommand.h"
#include "ChainAnchor.h"
#include "ClosedInspections.h"
#include "CollectedMessages.h"
#include "DatabaseFiles.h"
#include "DatabaseIdentity.h"
#include "DbError.h"
#include "FingerprintCheck.h"
#include "Fingerprints.h"
#include "OpenFailure.h"
#include "Outputs.h"
#include "PdfText.h"
#include "ProgramLocale.h"
#include "ReportJob.h"
#include "SchemaVersion.h"
#include "TerminalProgress.h"
#include "ToolConnection.h"
#include "UntouchedDatabase.h"
#include "UDM.h"
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

using namespace pagecommand;
using cli::out;
constexpr int Found = Refused; // something differs

int usage(const QString &why)
{
    return cli::usageWith(why, "  velmora-db verify PFAD [--anchor DATEI] [--quiet]\n"
                               "                                           Fingerabdrücke aller Prüfungen nachrechnen, mit\n"
                               "                                           --anchor auch gegen einen Anker (velmora-db anchor)\n"
                               "  velmora-db verify-pdf PFAD DATEI.pdf     Protokoll (PDF) mit der Datenbank vergleichen\n");
}

// Reads the file as it is (see UntouchedDatabase): no upgrade, nothing
// written, so that what is checked is what was there.
int verifyDatabase(const QString &path, const std::optional<ChainAnchor> &anchor)
{
    UntouchedDatabase file(path);
    if (const int failed = file.openOrRefuse(); failed != Ok)
        return failed;
    if (file.writeProtected() && !cli::quiet())
        err() << QStringLiteral("Die Datei ist schreibgeschützt; geprüft wird eine Kopie.") << Qt::endl;
    try {
        if (!isVelmoraDatabase(file.db()))
            return refuse(foreignDatabaseText(path));
        TFingerprintReport report = verifyFingerprints(file.db(), cli::terminalProgress());
        if (anchor)
            if (const QString mismatch = anchorMismatch(file.db(), *anchor); !mismatch.isEmpty())
                report.findings.prepend({TFingerprintFinding::Kind::Broken, 0, mismatch});
        const bool upgradeIsDue = upgradeDue(file.db());
        file.transaction().rollback();
        out() << report.text() << Qt::endl;
        if (upgradeIsDue)
            out() << QStringLiteral("Die Datei wurde noch nicht auf diese Programmversion aktualisiert; geprüft wurde, was "
                                    "sie enthält.")
                  << Qt::endl;
        return report.sound() ? Ok : Found;
    } catch (const EDatabaseError &e) {
        return refuse(e.message());
    }
}

// What two texts of a protocol share when nothing was changed: without the
// print date and the fingerprint lines (a later unchanged save gives a new
// fingerprint), and with every run of white space as one blank.
QString comparable(QString text)
{
    static const QRegularExpression printDate(QStringLiteral("Gedruckt am [0-9.]+"));
    static const QRegularExpression shortForm(QStringLiteral("Fingerabdruck [0-9a-f]{4}( [0-9a-f]{4}){3}"));
    static const QRegularExpression fullForm(QStringLiteral("SHA-256 [0-9a-f]{64}"));
    // Checked on its own; a protocol printed before identities has none.
    static const QRegularExpression identity(QStringLiteral("Datenbank [0-9a-f]{8}"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QRegularExpression *r : {&printDate, &shortForm, &fullForm, &identity})
        text.remove(*r);
    return text.replace(space, QStringLiteral(" ")).trimmed();
}

// The protocol of one inspection as the database would print it now.
std::optional<QString> protocolTextNow(TfrmDM &dm, int pruefungId, QString *failure)
{
    TReportSelection selection;
    selection.inspectionId = pruefungId;
    dm.openReport(selection);
    TPageWriter writer;
    TPageStream stream;
    reportjob::execute(dm, selection.reportName(), writer, stream);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("protokoll.pdf"));
    renderPdf(stream, path);
    return pdfText(path, failure);
}

struct Verdict {
    bool matches = false;
    QString text;
};

Verdict checkProtocol(TfrmDM &dm, const QString &fingerprint, const QString &pdfTextNow)
{
    const std::optional<TFingerprintEntry> entry = fingerprintByValue(dm.Database, fingerprint);
    if (!entry)
        return {false, QStringLiteral("Fingerabdruck %1: gehört zu keiner Prüfung dieser Datenbank.").arg(shortFingerprint(fingerprint))};
    const int id = entry->pruefungId;
    const QString stored = canonicalInspectionBody(dm.Database, id, FingerprintKind::Recorded);
    if (stored.isEmpty())
        return {false, QStringLiteral("Prüfung %1: gibt es in der Datenbank nicht mehr.").arg(id)};
    if (recordedData(stored) != recordedData(entry->content)) {
        const std::optional<TCorrection> correction = latestCorrection(dm.Database, id);
        if (!correction || correction->version <= entry->version)
            return {false, QStringLiteral("Prüfung %1: wurde nach diesem Protokoll außerhalb des Programms geändert; das "
                                          "Protokoll zeigt Version %2.")
                               .arg(id)
                               .arg(entry->version)};
        return {false, QStringLiteral("Prüfung %1: wurde nach diesem Protokoll geändert; das Protokoll zeigt Version %2, "
                                      "gespeichert ist Version %3.")
                           .arg(id)
                           .arg(entry->version)
                           .arg(correction->version)};
    }
    QString failure;
    const std::optional<QString> now = protocolTextNow(dm, id, &failure);
    if (!now)
        return {false, QStringLiteral("Prüfung %1: %2").arg(id).arg(failure)};
    if (!comparable(pdfTextNow).contains(comparable(*now)))
        return {false, QStringLiteral("Prüfung %1: der Text des Protokolls weicht von der Datenbank ab; die Datei wurde "
                                      "nachträglich bearbeitet (oder Stammdaten wie Anschriften wurden seither geändert).")
                           .arg(id)};
    return {true, QStringLiteral("Prüfung %1 (Version %2): das Protokoll stimmt mit der Datenbank überein.").arg(id).arg(entry->version)};
}

// A protocol names the first digits of its database's identity; one that
// names another identity is refused before its fingerprints are looked up,
// since another database's history may be the same as this one's. A
// protocol printed before identities names none and is checked as before.
std::optional<QString> foreignDatabase(TfrmDM &dm, const QString &pdfText)
{
    static const QRegularExpression printed(QStringLiteral("Datenbank\\s+([0-9a-f]{8})\\b"));
    const std::optional<QString> own = storedDatabaseIdentity(dm.Database);
    const QString ownShort = own ? shortDatabaseIdentity(*own) : QStringLiteral("ohne Kennung");
    for (const QRegularExpressionMatch &m : printed.globalMatch(pdfText))
        if (m.captured(1) != ownShort)
            return QStringLiteral("Das Protokoll stammt aus einer anderen Datenbank (Datenbank %1 auf dem Protokoll, "
                                  "diese Datenbank ist %2).")
                .arg(m.captured(1), ownShort);
    return std::nullopt;
}

int verifyPdf(const QString &path, const QString &pdf, TCollectedMessages &messages)
{
    if (!QFileInfo::exists(pdf))
        return refuse(QStringLiteral("Die Datei %1 gibt es nicht.").arg(pdf));
    QString failure;
    const std::optional<QString> text = pdfText(pdf, &failure);
    if (!text)
        return refuse(failure);
    static const QRegularExpression fullForm(QStringLiteral("SHA-256\\s+([0-9a-f]{64})"));
    QStringList fingerprints;
    for (const QRegularExpressionMatch &m : fullForm.globalMatch(*text))
        if (!fingerprints.contains(m.captured(1)))
            fingerprints << m.captured(1);
    if (fingerprints.isEmpty())
        return refuse(QStringLiteral("In %1 steht kein Fingerabdruck eines Prüfprotokolls.").arg(pdf));
    TfrmDM dm;
    if (const int failed = connect(dm, path, messages); failed != Ok)
        return failed;
    if (const std::optional<QString> foreign = foreignDatabase(dm, *text)) {
        out() << *foreign << Qt::endl;
        return Found;
    }
    bool allMatch = true;
    for (const QString &fingerprint : fingerprints) {
        const Verdict verdict = checkProtocol(dm, fingerprint, *text);
        allMatch = allMatch && verdict.matches;
        out() << verdict.text << '\n';
    }
    out() << Qt::flush;
    return allMatch ? Ok : Found;
}

} // namespace

int runVerifyCommand(int argc, char *argv[])
{
    // The protocol is laid out again with fonts, not shown: no display is needed.
    const bool pdf = qstrcmp(argv[1], "verify-pdf") == 0;
    QStringList given;
    QString anchorFile;
    return pagecommand::run(
        argc, argv,
        [&given, &anchorFile, pdf](const QStringList &args) {
            given = args;
            QString problem;
            if (!pdf)
                anchorFile = cli::takeFileOption(given, QStringLiteral("--anchor"), problem);
            if (!problem.isEmpty())
                return problem;
            return given.size() == (pdf ? 2 : 1) ? QString() : QStringLiteral("Falsche Zahl von Angaben.");
        },
        usage,
        [&given, &anchorFile, pdf](TCollectedMessages &messages) {
            if (pdf)
                return verifyPdf(given[0], given[1], messages);
            std::optional<ChainAnchor> anchor;
            if (!anchorFile.isEmpty()) {
                QString why;
                anchor = readAnchorFile(anchorFile, &why);
                if (!anchor) {
                    err() << why << Qt::endl;
                    return int(Usage);
                }
            }
            return verifyDatabase(given[0], anchor);
        });
}

#include "AnchorCommand.h"
#include "AnchorPdf.h"
#include "ChainAnchor.h"
#include "Clock.h"
#include "DatabaseFiles.h"
#include "FileCopy.h"
#include "OpenFailure.h"
#include "PageCommand.h"
#include "UntouchedDatabase.h"
#include <QFile>
#include <QFileInfo>

namespace {

using namespace pagecommand;

int usage(const QString &why)
{
    return cli::usageWith(why, "  velmora-db anchor PFAD [--out DATEI] [--quiet]\n"
                               "                                           Anker der Fingerabdrücke ausgeben, mit --out in\n"
                               "                                           DATEI und zum Ausdrucken in DATEI mit Endung .pdf\n");
}

struct Request {
    QString path;
    QString out; // empty: standard output
};

QString parse(const QStringList &given, Request &request)
{
    QStringList args = given;
    QString problem;
    request.out = cli::takeFileOption(args, QStringLiteral("--out"), problem);
    if (!problem.isEmpty())
        return problem;
    if (!request.out.isEmpty() && anchorPdfPath(request.out) == request.out)
        return QStringLiteral("--out nennt die Textdatei des Ankers; die PDF-Datei entsteht daneben mit der Endung .pdf.");
    if (args.size() != 1)
        return QStringLiteral("Falsche Zahl von Angaben.");
    request.path = args[0];
    return {};
}

// Both files or neither: the page first, then the text; a text that cannot
// be written takes the new page with it.
int writeBoth(const ChainAnchor &anchor, const QString &out)
{
    const QString pdf = anchorPdfPath(out);
    if (const QString failure = writeFileCompletely(pdf, anchorPdf(anchor)); !failure.isEmpty())
        return refuse(failure);
    if (const QString failure = writeFileCompletely(out, anchorText(anchor).toUtf8()); !failure.isEmpty()) {
        QFile::remove(pdf);
        return refuse(failure);
    }
    cli::out() << QStringLiteral("Anker geschrieben: %1 und %2").arg(out, pdf) << Qt::endl;
    return Ok;
}

int writeAnchor(const Request &request, TCollectedMessages &)
{
    UntouchedDatabase file(request.path);
    if (const int failed = file.openOrRefuse(); failed != Ok)
        return failed;
    if (!isVelmoraDatabase(file.db()))
        return refuse(foreignDatabaseText(request.path));
    std::optional<ChainAnchor> anchor = anchorOfChain(file.db(), request.path);
    file.transaction().rollback();
    if (!anchor)
        return refuse(QStringLiteral("%1 hat noch keine Fingerabdrücke: es gibt nichts zu verankern "
                                     "(velmora-db upgrade legt sie an).")
                          .arg(request.path));
    anchor->created = TClock::now();
    if (request.out.isEmpty()) {
        cli::out() << anchorText(*anchor) << Qt::flush;
        return Ok;
    }
    return writeBoth(*anchor, request.out);
}

} // namespace

QString anchorPdfPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return (suffix.isEmpty() ? path + u'.' : path.chopped(suffix.size())) + QStringLiteral("pdf");
}

int runAnchorCommand(int argc, char *argv[]) { return pagecommand::run<Request>(argc, argv, parse, usage, writeAnchor); }

#include "PageOutputs.h"
#include "Dialogs.h"
#include "Outputs.h"
#include "PageStream.h"
#include <QPrinter>

bool printPages(const TPageStream &stream, int currentPage)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs().choosePrint(printer, static_cast<int>(stream.pages.size())))
        return false;
    renderPrinter(stream, printer, currentPage);
    return true;
}

bool savePagesAsPdf(const TPageStream &stream, const QString &proposedPath)
{
    if (stream.pages.isEmpty()) {
        dialogs().message(QStringLiteral("Die Vorschau ist leer: Es gibt nichts zu speichern."), IDialogs::Icon::Information);
        return false;
    }
    const QString path = dialogs().chooseSaveFile(QStringLiteral("Sichern als PDF-Dokument"), proposedPath,
                                                  QStringLiteral("PDF-Dokumente (*.pdf)|*.pdf"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return false;
    renderPdf(stream, path);
    return true;
}

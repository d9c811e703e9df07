#include "PageOutputs.h"
#include "Dialogs.h"
#include "Outputs.h"
#include "PageStream.h"
#include <QPrinter>

void printPages(const TPageStream &stream, int currentPage)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs().choosePrint(printer, static_cast<int>(stream.pages.size())))
        return;
    renderPrinter(stream, printer, currentPage);
}

void savePagesAsPdf(const TPageStream &stream, const QString &proposedPath)
{
    if (stream.pages.isEmpty()) {
        dialogs().message(QStringLiteral("Die Vorschau ist leer: Es gibt nichts zu speichern."), IDialogs::Icon::Information);
        return;
    }
    const QString path = dialogs().chooseSaveFile(QStringLiteral("Sichern als PDF-Dokument"), proposedPath,
                                                  QStringLiteral("PDF-Dokumente (*.pdf)|*.pdf"), QStringLiteral("pdf"));
    if (!path.isEmpty())
        renderPdf(stream, path);
}

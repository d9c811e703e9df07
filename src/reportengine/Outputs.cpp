#include "Outputs.h"
#include "DbError.h"
#include "PageStream.h"
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

// Paints pages first..last onto a device whose page rectangle is the whole paper.
void paintPages(QPagedPaintDevice &device, QPainter &painter, const TPageStream &stream, int first, int last, int copies)
{
    const QSizeF mm = stream.pageSizeMm();
    const double scale = device.width() / (mm.width() * TPageStream::UnitsPerMm);
    bool firstSheet = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (!firstSheet)
                device.newPage();
            firstSheet = false;
            const QPicture &picture = stream.pages.at(page - 1);
            // A picture played on a device of another resolution is scaled
            // by the ratio of the two; the page's own scale comes on top.
            const double dpi = double(picture.logicalDpiX()) / device.logicalDpiX();
            painter.save();
            painter.scale(scale * dpi, scale * dpi);
            painter.drawPicture(0, 0, picture);
            painter.restore();
        }
    }
}

} // namespace

void renderPdf(const TPageStream &stream, const QString &path)
{
    QPdfWriter writer(path);
    writer.setTitle(stream.title);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), stream.orientation, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        throw EDatabaseError(QStringLiteral("Die PDF-Datei %1 kann nicht geschrieben werden.").arg(path));
    if (!stream.pages.isEmpty())
        paintPages(writer, painter, stream, 1, static_cast<int>(stream.pages.size()), 1);
    painter.end();
}

void renderPrinter(const TPageStream &stream, const QString &printerName, int first, int last, int copies)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    printer.setDocName(stream.title);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), stream.orientation, QMarginsF()));
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(stream.pages.size()));
    if (first > last)
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        throw EDatabaseError(QStringLiteral("Der Drucker %1 kann nicht angesprochen werden.").arg(printerName));
    paintPages(printer, painter, stream, first, last, std::max(copies, 1));
    painter.end();
}

#include "Outputs.h"
#include "DbError.h"
#include "FileCopy.h"
#include "PageStream.h"
#include "PdfMetadata.h"
#include <QBuffer>
#include <QDir>
#include <QPageRanges>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

// Paints the pages of a sequence onto a device, each scaled to fit the
// device's page and centred on it.
void paintPages(QPagedPaintDevice &device, QPainter &painter, const TPageStream &stream, const QList<int> &sequence)
{
    const QSizeF mm = stream.pageSizeMm();
    const double scale = std::min(device.width() / (mm.width() * TPageStream::UnitsPerMm),
                                  device.height() / (mm.height() * TPageStream::UnitsPerMm));
    const double dx = (device.width() - mm.width() * TPageStream::UnitsPerMm * scale) / 2;
    bool firstSheet = true;
    for (int page : sequence) {
        if (!firstSheet)
            device.newPage();
        firstSheet = false;
        painter.save();
        painter.translate(dx, 0);
        painter.scale(scale, scale);
        paintPage(painter, stream.pages.at(page - 1));
        painter.restore();
    }
}

// A4 in the stream's orientation, or the stream's own paper (labels).
QPageLayout paperLayout(const TPageStream &stream)
{
    if (!stream.paperMm.isValid())
        return QPageLayout(QPageSize(QPageSize::A4), stream.orientation, QMarginsF());
    return QPageLayout(QPageSize(stream.paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                       QMarginsF());
}

QList<int> allPages(const TPageStream &stream)
{
    QList<int> pages;
    for (int i = 1; i <= stream.pages.size(); ++i)
        pages << i;
    return pages;
}

} // namespace

void renderPdf(const TPageStream &stream, const QString &path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        describePdf(writer, stream.title, stream.author, stream.subject);
        writer.setResolution(300);
        writer.setPageLayout(paperLayout(stream));
        QPainter painter;
        if (!painter.begin(&writer))
            throw EDatabaseError(QStringLiteral("Die PDF-Datei %1 kann nicht geschrieben werden.").arg(path));
        paintPages(writer, painter, stream, allPages(stream));
        painter.end();
    }
    const QByteArray pdf = withInfoEntries(buffer.data(), {{"Author", stream.author}, {"Subject", stream.subject}});
    if (const QString failure = writeFileCompletely(path, pdf); !failure.isEmpty())
        throw EDatabaseError(QStringLiteral("Die PDF-Datei %1 kann nicht geschrieben werden.\n").arg(QDir::toNativeSeparators(path)) +
                             failure);
}

QList<int> printSequence(int pageCount, const QPageRanges &ranges, int copies, bool collate, bool reverse)
{
    QList<int> pages;
    for (int p = 1; p <= pageCount; ++p)
        if (ranges.isEmpty() || ranges.contains(p))
            pages << p;
    if (reverse)
        std::reverse(pages.begin(), pages.end());
    QList<int> sequence;
    copies = std::max(copies, 1);
    if (collate) {
        for (int c = 0; c < copies; ++c)
            sequence << pages;
    } else {
        for (int p : pages)
            for (int c = 0; c < copies; ++c)
                sequence << p;
    }
    return sequence;
}

void renderPrinter(const TPageStream &stream, QPrinter &printer, int currentPage)
{
    printer.setDocName(stream.title);
    printer.setFullPage(true);
    // Labels need their own paper (a label printer's roll, a sheet);
    // reports keep the printer's paper.
    if (stream.paperMm.isValid())
        printer.setPageLayout(paperLayout(stream));
    else
        printer.setPageOrientation(stream.orientation);
    QPageRanges ranges = printer.pageRanges();
    if (printer.printRange() == QPrinter::CurrentPage) {
        ranges.clear();
        ranges.addPage(currentPage);
    } else if (printer.printRange() == QPrinter::AllPages) {
        ranges.clear();
    }
    // A printer that makes the copies itself gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const QList<int> sequence = printSequence(static_cast<int>(stream.pages.size()), ranges, copies, printer.collateCopies(),
                                              printer.pageOrder() == QPrinter::LastPageFirst);
    if (sequence.isEmpty())
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        throw EDatabaseError(QStringLiteral("Der Drucker %1 kann nicht angesprochen werden.").arg(printer.printerName()));
    paintPages(printer, painter, stream, sequence);
    painter.end();
}

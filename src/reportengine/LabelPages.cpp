#include "LabelPages.h"
#include "BandLayout.h"
#include "Clock.h"
#include "DataSet.h"
#include <QLocale>

namespace {

constexpr double kUnit = TPageStream::UnitsPerMm;

// The band with its boxes and letters scaled by a factor.
TReportBand scaledBand(const TReportBand &band, double scale)
{
    TReportBand scaled = band;
    scaled.height *= scale;
    for (TReportItem &item : scaled.items) {
        item.rect = QRectF(item.rect.topLeft() * scale, item.rect.size() * scale);
        item.size *= scale;
    }
    return scaled;
}

// Puts a laid-out label on a page at origin (page units) and records its
// texts with the room given and needed.
void place(const TLaidBand &label, QPointF origin, int page, TPageStream &stream)
{
    QMap<int, QRectF> needed;
    QMap<int, QStringList> lines;
    for (TPiece piece : label.pieces) {
        piece.rect.translate(origin);
        piece.baseline += origin.y();
        if (piece.kind == TPiece::Kind::Text) {
            needed[piece.box] = needed.value(piece.box).united(piece.rect);
            lines[piece.box] << piece.text;
        }
        stream.pages[page].append(std::move(piece));
    }
    for (auto it = needed.cbegin(); it != needed.cend(); ++it) {
        const QString text = lines.value(it.key()).join(u' ');
        stream.boxes.append({page + 1, text, label.textBoxes.at(it.key()).translated(origin), it.value()});
        stream.texts << text;
    }
}

} // namespace

void writeLabelPages(const TReportLayout &layout, const TLabelSheet &sheet, const QMap<QString, TDataSet *> &connections,
                     const QMap<QString, QString> &parameters, TPageStream &stream)
{
    stream.paperMm = sheet.paper;
    stream.marginMm = 0;
    const TReportBand *detail = layout.band(TReportBand::Kind::Detail);
    TDataSet *records = detail ? connections.value(detail->connection) : nullptr;
    const int count = records && records->active() ? records->recordCount() : 0;
    if (count == 0)
        return;
    const double scale =
        std::min(sheet.label.width() / layout.labelSize.width(), sheet.label.height() / layout.labelSize.height());
    const TReportBand band = scaledBand(*detail, scale);
    const QSizeF content = layout.labelSize * scale;
    TBandContext context;
    context.connections = &connections;
    context.detailConnection = detail->connection;
    context.placeholder = [&parameters](const QString &name) {
        return name == u"date" ? QLocale().toString(TClock::today(), QStringLiteral("dd.MM.yyyy")) : parameters.value(name);
    };
    for (int n = 0; n < count; ++n) {
        const int page = sheet.pageOf(n);
        while (stream.pages.size() <= page)
            stream.pages.append(TPage());
        const QRectF cell = sheet.cellOf(n);
        const QPointF centred(cell.left() + (cell.width() - content.width()) / 2, cell.top() + (cell.height() - content.height()) / 2);
        context.row = n;
        place(layoutBand(band, context), centred * kUnit, page, stream);
    }
}

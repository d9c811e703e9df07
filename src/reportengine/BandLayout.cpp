#include "BandLayout.h"
#include "DataSet.h"
#include "PageStream.h"
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <utility>

namespace {

constexpr double kUnit = TPageStream::UnitsPerMm;
constexpr double kPadX = 0.8 * kUnit; // text to frame, left and right
constexpr double kPadY = 0.4 * kUnit; // top and bottom

TDataSet *activeSet(const TBandContext &c, const QString &connection)
{
    TDataSet *set = c.connections ? c.connections->value(connection) : nullptr;
    return set && set->active() && !set->isEmpty() ? set : nullptr;
}

// A band names its fields by text, for every record: the place of each name
// in its data set is remembered and checked against the set's field there,
// as data sets come and go.
const TField *reportField(TDataSet *set, const QString &name)
{
    static QHash<std::pair<const TDataSet *, QString>, int> places;
    const auto key = std::pair<const TDataSet *, QString>(set, name);
    if (const int place = places.value(key, -1); place >= 0 && place < set->fieldCount())
        if (const TField *f = set->field(place); f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    const TField *f = set->findField(name);
    if (f)
        places.insert(key, f->index());
    return f;
}

QString fieldText(const QString &connection, const QString &field, const TBandContext &c)
{
    TDataSet *set = activeSet(c, connection);
    const TField *f = set ? reportField(set, field) : nullptr;
    if (!f)
        return QString();
    const int row = connection == c.detailConnection ? c.row : 0;
    return f->displayTextOf(set->valueAt(row, f));
}

QString fieldText(const TReportItem &item, const TBandContext &c) { return fieldText(item.connection, item.field, c); }

QString countText(const TReportItem &item, const TBandContext &c)
{
    TDataSet *set = activeSet(c, item.connection);
    if (!set)
        return QStringLiteral("0");
    const TField *f = item.field.isEmpty() ? nullptr : set->findField(item.field);
    int count = 0;
    for (int r = 0, n = set->recordCount(); r < n; ++r)
        if (!f || f->displayTextOf(set->valueAt(r, f)) == item.equals)
            ++count;
    return QString::number(count);
}

// The text with its braces filled; when a field it names is empty, the
// empty text instead, itself filled (without a further fallback).
QString expandedText(const QString &text, const std::optional<QString> &empty, const TBandContext &c)
{
    if (!text.contains(u'{'))
        return text;
    static const QRegularExpression brace(QStringLiteral("\\{(\\w+)(?:\\.(\\w+))?\\}"));
    QString result;
    qsizetype at = 0;
    for (auto it = brace.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString value;
        if (m.hasCaptured(2)) {
            value = fieldText(m.captured(1), m.captured(2), c);
            if (value.isEmpty() && empty)
                return expandedText(*empty, std::nullopt, c);
        } else if (c.placeholder) {
            value = c.placeholder(m.captured(1));
        }
        result += text.mid(at, m.capturedStart() - at) + value;
        at = m.capturedEnd();
    }
    return result + text.mid(at);
}

QString fixedText(const TReportItem &item, const TBandContext &c) { return expandedText(item.text, item.empty, c); }

QString itemText(const TReportItem &item, const TBandContext &c)
{
    if (item.aggregate == u"count")
        return countText(item, c);
    if (!item.field.isEmpty())
        return fieldText(item, c);
    return fixedText(item, c);
}

bool itemBold(const TReportItem &item, const TBandContext &c)
{
    const auto &when = item.boldWhen;
    return item.bold || (when && fieldText(when->connection, when->field, c) == when->equals);
}

QImage itemImage(const TReportItem &item, const TBandContext &c)
{
    const QString bytes = fieldText(item, c); // a BLOB's bytes, one character each
    return bytes.isEmpty() ? QImage() : QImage::fromData(bytes.toLatin1());
}

struct Placed {
    const TReportItem *item;
    QRectF rect; // page units, grown and moved
    TLaidText text;
    QString fullText;
    bool bold = false;
    QImage image;
    TQrCode qrCode;
};

// A piece without text: shade, frame, rule, picture or code.
TPiece shape(TPiece::Kind kind, const QRectF &rect)
{
    TPiece piece;
    piece.kind = kind;
    piece.rect = rect;
    return piece;
}

QRectF scaledInto(const QSize &size, const QRectF &box, Qt::Alignment alignment)
{
    QSizeF s = QSizeF(size).scaled(box.size(), Qt::KeepAspectRatio);
    const double x = alignment & Qt::AlignRight ? box.right() - s.width()
                     : alignment & Qt::AlignHCenter ? box.left() + (box.width() - s.width()) / 2
                                                    : box.left();
    return QRectF(QPointF(x, box.top()), s);
}

} // namespace

TLaidBand layoutBand(const TReportBand &band, const TBandContext &context)
{
    QList<Placed> placed;
    placed.reserve(band.items.size());
    for (const TReportItem &item : band.items) {
        Placed p{&item, QRectF(item.rect.topLeft() * kUnit, item.rect.size() * kUnit), {}, {}, itemBold(item, context), {}, {}};
        if (item.image) {
            p.image = itemImage(item, context);
        } else if (item.qrCode) {
            p.fullText = itemText(item, context);
            p.qrCode = encodeQrCode(p.fullText);
        } else if (!item.field.isEmpty() || !item.text.isEmpty() || !item.aggregate.isEmpty()) {
            p.fullText = itemText(item, context);
            const TTextStyle style{item.size, p.bold, item.alignment, item.elide};
            p.text = layoutText(p.fullText, style, p.rect.width() - 2 * kPadX);
        }
        placed.append(std::move(p));
    }
    // Grow each text box to its lines, then every box of a table row to the
    // row's tallest.
    QList<double> grownHeight(placed.size());
    for (qsizetype i = 0; i < placed.size(); ++i)
        grownHeight[i] = std::max(placed[i].rect.height(), placed[i].text.height + 2 * kPadY);
    for (qsizetype i = 0; i < placed.size(); ++i)
        for (qsizetype j = 0; j < placed.size(); ++j)
            if (placed[j].rect.top() == placed[i].rect.top() && placed[j].rect.height() == placed[i].rect.height())
                grownHeight[i] = std::max(grownHeight[i], grownHeight[j]);
    // A box starting below the bottom of another moves down by that box's
    // growth and move.
    QList<qsizetype> order(placed.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return placed[a].rect.top() < placed[b].rect.top(); });
    QList<double> shift(placed.size(), 0.0);
    for (qsizetype oi = 0; oi < order.size(); ++oi) {
        const qsizetype i = order[oi];
        for (qsizetype oj = 0; oj < oi; ++oj) {
            const qsizetype j = order[oj];
            if (placed[j].rect.bottom() <= placed[i].rect.top() + 0.01)
                shift[i] = std::max(shift[i], shift[j] + grownHeight[j] - placed[j].rect.height());
        }
    }
    double contentBottom = 0, originalBottom = 0;
    for (qsizetype i = 0; i < placed.size(); ++i) {
        originalBottom = std::max(originalBottom, placed[i].rect.bottom());
        placed[i].rect = QRectF(placed[i].rect.left(), placed[i].rect.top() + shift[i], placed[i].rect.width(), grownHeight[i]);
        contentBottom = std::max(contentBottom, placed[i].rect.bottom());
    }
    TLaidBand laid;
    laid.pieces.reserve(placed.size() * 2);
    const double bandHeight = band.height * kUnit;
    laid.height = std::max(bandHeight, contentBottom + std::max(0.0, bandHeight - originalBottom));

    for (const Placed &p : placed)
        if (p.item->shade)
            laid.pieces.append(shape(TPiece::Kind::Shade, p.rect));
    for (const Placed &p : placed) {
        if (!p.image.isNull()) {
            TPiece picture = shape(TPiece::Kind::Image, scaledInto(p.image.size(), p.rect, p.item->alignment));
            picture.image = p.image;
            laid.pieces.append(picture);
        }
        if (!p.qrCode.isNull()) {
            TPiece code = shape(TPiece::Kind::QrCode, scaledInto(QSize(1, 1), p.rect, p.item->alignment));
            code.text = p.fullText;
            code.qrCode = p.qrCode;
            laid.pieces.append(code);
        }
        if (p.text.lines.isEmpty())
            continue;
        const int box = static_cast<int>(laid.textBoxes.size());
        laid.textBoxes.append(p.rect);
        laid.textOfBox.append(p.fullText);
        const QFont *font = &reportFont(p.item->size, p.bold);
        // A text shorter than its box stands as the box's alignment says
        // within the box's height in the layout, so that it stays level with
        // its neighbours when the row grows; a grown box fills from the top.
        double top = p.rect.top() + kPadY;
        const double spare = std::max(0.0, p.item->rect.height() * kUnit - 2 * kPadY - p.text.height);
        if (p.item->alignment & Qt::AlignVCenter)
            top += spare / 2;
        else if (p.item->alignment & Qt::AlignBottom)
            top += spare;
        for (const TTextLine &line : p.text.lines)
            {
            const QRectF rect = line.rect.translated(p.rect.left() + kPadX, top);
            laid.pieces.append({TPiece::Kind::Text, rect, line.text, rect.top() + p.text.ascent, box, font, {}, {}});
        }
    }
    for (const Placed &p : placed) {
        if (p.item->frame)
            laid.pieces.append(shape(TPiece::Kind::Frame, p.rect));
        if (p.item->rule)
            laid.pieces.append(shape(TPiece::Kind::Rule, QRectF(p.rect.topLeft(), QSizeF(p.rect.width(), 0))));
    }
    return laid;
}

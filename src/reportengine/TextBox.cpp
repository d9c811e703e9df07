#include "TextBox.h"
#include "PageStream.h"
#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>
#include <array>

namespace {

struct FontEntry {
    QFont font;
    QFontMetricsF metrics;
    mutable std::array<double, 256> latin1 = filledWith(-1.0); // advances of the first 256 letters, -1: not yet measured
    mutable QHash<char16_t, double> advances;                   // of the others

    static std::array<double, 256> filledWith(double value)
    {
        std::array<double, 256> a;
        a.fill(value);
        return a;
    }

    // Without shaping and kerning a line is as wide as its letters' advances
    // together; each letter is measured once. Texts with letters that join,
    // combine, format or control are measured whole.
    double width(const QString &text) const
    {
        double w = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u >= 0x20 && u < latin1.size() && !(u >= 0x7f && u < 0xa0) && u != 0xad) {
                double &advance = latin1[u];
                if (advance < 0)
                    advance = metrics.horizontalAdvance(c);
                w += advance;
                continue;
            }
            if (u < 0x20 || c.isSurrogate() || c.isMark() || c.joiningType() != QChar::Joining_None ||
                c.category() == QChar::Other_Format || c.category() == QChar::Other_Control)
                return metrics.horizontalAdvance(text);
            auto it = advances.constFind(u);
            if (it == advances.cend())
                it = advances.insert(u, metrics.horizontalAdvance(c));
            w += *it;
        }
        return w;
    }
};

const FontEntry &fontEntry(double points, bool bold)
{
    static QHash<qint64, FontEntry *> cache; // fonts live for the whole run
    const qint64 key = qRound64(points * 100) * 2 + (bold ? 1 : 0);
    if (FontEntry *entry = cache.value(key))
        return *entry;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(points * 25.4 / 72.0 * TPageStream::UnitsPerMm));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    // Without shaping "fl" and "fi" stay two letters, so that a PDF's text
    // reads back as it was written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    auto *entry = new FontEntry{font, QFontMetricsF(font), FontEntry::filledWith(-1.0), {}};
    cache.insert(key, entry);
    return *entry;
}

double alignedX(double lineWidth, double width, Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return width - lineWidth;
    if (alignment & Qt::AlignHCenter)
        return (width - lineWidth) / 2;
    return 0;
}

} // namespace

const QFont &reportFont(double points, bool bold) { return fontEntry(points, bold).font; }

namespace {

TLaidText laidOut(const QString &text, const TTextStyle &style, double width)
{
    const FontEntry &entry = fontEntry(style.points, style.bold);
    const QFontMetricsF &fm = entry.metrics;
    const double lineHeight = fm.height();
    TLaidText laid;
    laid.ascent = fm.ascent();
    if (text.isEmpty())
        return laid;
    auto addLine = [&](const QString &line, double lineWidth) {
        laid.lines.append({line, QRectF(alignedX(lineWidth, width, style.alignment), laid.height, lineWidth, lineHeight)});
        laid.height += lineHeight;
    };
    if (style.elide) {
        QString flat = text;
        flat.replace(u'\n', u' ');
        const QString shown = fm.elidedText(flat, Qt::ElideRight, width);
        addLine(shown, fm.horizontalAdvance(shown));
        return laid;
    }
    // Most texts are one short line: no layout needed for them.
    if (!text.contains(u'\n')) {
        const double w = entry.width(text);
        if (w <= width) {
            addLine(text, w);
            return laid;
        }
    }
    QString prepared = text;
    prepared.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prepared.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(prepared, entry.font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString part = prepared.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && (part.back().isSpace() || part.back() == QChar::LineSeparator))
            part.chop(1);
        addLine(part, fm.horizontalAdvance(part));
    }
    layout.endLayout();
    return laid;
}

// The same texts recur on every page (headings, labels, a column's values):
// each is laid out once per style and width. The cache is emptied when it
// grows large, so that a long report does not keep every text it printed.
struct LayoutKey {
    QString text;
    double points;
    double width;
    int alignment;
    bool bold;
    bool elide;
    bool operator==(const LayoutKey &) const = default;
};

size_t qHash(const LayoutKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.text, k.points, k.width, k.alignment, k.bold, k.elide);
}

constexpr qsizetype kMaxCachedLayouts = 20000;

} // namespace

TLaidText layoutText(const QString &text, const TTextStyle &style, double width)
{
    static QHash<LayoutKey, TLaidText> cache;
    const LayoutKey key{text, style.points, width, static_cast<int>(style.alignment), style.bold, style.elide};
    if (const auto it = cache.constFind(key); it != cache.cend())
        return *it;
    if (cache.size() >= kMaxCachedLayouts)
        cache.clear();
    return *cache.insert(key, laidOut(text, style, width));
}

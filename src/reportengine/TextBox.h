#pragma once
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

// One line of a laid-out text, relative to the top left of its box.
struct TTextLine {
    QString text;
    QRectF rect; // the line's own extent: natural width, one line high
};

// A text laid out into a box of a given width: the lines it needs and the
// height they take. Measured once, at the page stream's resolution, so that
// preview, printer and PDF show the same lines.
struct TLaidText {
    QList<TTextLine> lines;
    double height = 0;
    double ascent = 0; // top of a line to its baseline
};

struct TTextStyle {
    double points = 9.0;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool elide = false; // one line, cut with "…" to the width
};

// The report font at a size in points, in page units (1/10 mm): plain
// letters without ligatures, no hinting, so that its measures scale.
// The reference stays valid for the whole run of the program.
const QFont &reportFont(double points, bool bold);

// Wraps at word boundaries, inside a word only when the word alone is wider
// than the box; keeps the text's own line breaks.
TLaidText layoutText(const QString &text, const TTextStyle &style, double width);

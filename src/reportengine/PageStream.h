#pragma once
#include "QrCode.h"
#include <QFont>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Where one text stands on a page: the box the layout gave it and the box
// its lines need, both in page units. A sound page has every needed box
// inside its given box and inside the printable area, and no two needed
// boxes overlap.
struct TTextBox {
    int page = 0; // 1-based
    QString text; // as visible: its lines on this page, joined by blanks
    QRectF given;
    QRectF needed;
};

class QPainter;

// One drawn piece of a page (or of a laid-out band), in page units.
struct TPiece {
    enum class Kind { Text, Frame, Shade, Rule, Image, QrCode };
    Kind kind = Kind::Text;
    QRectF rect;
    QString text; // one line of a text box
    double baseline = 0;
    int box = -1; // the text box a line belongs to
    const QFont *font = nullptr; // lives as long as the program
    QImage image;
    TQrCode qrCode; // drawn as dark squares filling rect
};
using TPage = QList<TPiece>;

// Paints a page in page units; the painter's scale makes it fit a device.
void paintPage(QPainter &painter, const TPage &page);

// The pages of one run of a report, recorded once in units of 1/10 mm and
// read by preview, printer and PDF alike; none of them changes the pages.
struct TPageStream {
    static constexpr double UnitsPerMm = 10.0;
    static constexpr double MarginMm = 10.0;

    QList<TPage> pages;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString title;
    QString author;  // the contractor, for the PDF's metadata
    QString subject; // the report's name
    QStringList texts;      // every text drawn, page by page, for checks and search
    QList<TTextBox> boxes;  // every text with its given and needed box

    QSizeF pageSizeMm() const
    {
        return orientation == QPageLayout::Portrait ? QSizeF(210, 297) : QSizeF(297, 210);
    }
    // The page less its margins, in page units.
    QRectF printableArea() const
    {
        const QSizeF mm = pageSizeMm();
        return QRectF(MarginMm * UnitsPerMm, MarginMm * UnitsPerMm, (mm.width() - 2 * MarginMm) * UnitsPerMm,
                      (mm.height() - 2 * MarginMm) * UnitsPerMm);
    }
    void clear()
    {
        pages.clear();
        texts.clear();
        boxes.clear();
    }
};

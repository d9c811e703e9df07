#pragma once
#include <QList>
#include <QPageLayout>
#include <QPicture>
#include <QSizeF>
#include <QString>

// The pages of one run of a report, recorded once in units of 1/10 mm and
// read by preview, printer and PDF alike; none of them changes the pages.
struct TPageStream {
    static constexpr double UnitsPerMm = 10.0;

    QList<QPicture> pages;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString title;
    QStringList texts; // every text drawn, page by page, for checks and search

    QSizeF pageSizeMm() const
    {
        return orientation == QPageLayout::Portrait ? QSizeF(210, 297) : QSizeF(297, 210);
    }
    void clear()
    {
        pages.clear();
        texts.clear();
    }
};

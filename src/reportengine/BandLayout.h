#pragma once
#include "PageStream.h"
#include "ReportProject.h"
#include "TextBox.h"
#include <QImage>
#include <QMap>
#include <functional>

class TDataSet;

// What a band is drawn from: the data connections, the record of the
// detail connection, and the values of the braces in fixed texts.
struct TBandContext {
    const QMap<QString, TDataSet *> *connections = nullptr;
    QString detailConnection;
    int row = 0;
    std::function<QString(const QString &)> placeholder; // "page" -> "3"; empty when unknown
};

// A band laid out for one record: its boxes grown to their texts, the boxes
// below a grown box moved down by as much, boxes of one table row (same top
// and height) stretched to the row's tallest, and the band as tall as its
// content needs.
struct TLaidBand {
    double height = 0;            // page units
    QList<TPiece> pieces;         // in drawing order: shades, text, frames
    QList<QRectF> textBoxes;      // the box given to each text, by TPiece::box
    QStringList textOfBox;
};

TLaidBand layoutBand(const TReportBand &band, const TBandContext &context);

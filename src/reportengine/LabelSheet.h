#pragma once
#include <QRectF>
#include <QSizeF>
#include <QString>

// Where labels go: the paper, the grid of labels on it and the first free
// position on the first sheet (1-based, row by row). A roll of single
// labels is paper of one label's size with one row and one column.
struct TLabelSheet {
    QSizeF paper{210, 297}; // millimetres
    QSizeF label{70, 37};
    int rows = 1;
    int columns = 1;
    double top = 0;  // paper edge to the first row
    double left = 0; // paper edge to the first column
    double gapX = 0; // between two columns
    double gapY = 0; // between two rows
    int first = 1;

    int perPage() const { return rows * columns; }
    // The page (0-based) and the label's box in millimetres of the n-th
    // label (0-based) of a run.
    int pageOf(int n) const { return (first - 1 + n) / perPage(); }
    QRectF cellOf(int n) const;
    // Why the labels do not fit the paper, in German; empty when they do.
    QString fault() const;
};

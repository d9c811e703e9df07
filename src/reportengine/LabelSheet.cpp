#include "LabelSheet.h"
#include <QLocale>
#include <cmath>

QRectF TLabelSheet::cellOf(int n) const
{
    const int position = (first - 1 + n) % perPage();
    const int row = position / columns;
    const int column = position % columns;
    return QRectF(left + column * (label.width() + gapX), top + row * (label.height() + gapY), label.width(), label.height());
}

QString TLabelSheet::fault() const
{
    constexpr double kTolerance = 0.05; // mm of rounding in the stated sizes
    constexpr double kLargestLabel = 500; // mm; a label printer's widest roll is far smaller
    for (double mm : {label.width(), label.height(), top, left, gapX, gapY, paper.width(), paper.height()})
        if (!std::isfinite(mm))
            return QStringLiteral("Die Maße des Etikettenmaterials sind keine gültigen Zahlen.");
    if (label.width() > kLargestLabel || label.height() > kLargestLabel)
        return QStringLiteral("Ein Etikett darf höchstens %1 × %1 mm groß sein.").arg(kLargestLabel);
    if (label.width() <= 0 || label.height() <= 0)
        return QStringLiteral("Breite und Höhe eines Etiketts müssen größer als 0 mm sein.");
    if (rows < 1 || columns < 1)
        return QStringLiteral("Ein Bogen braucht mindestens eine Zeile und eine Spalte.");
    if (top < 0 || left < 0 || gapX < 0 || gapY < 0)
        return QStringLiteral("Ränder und Abstände dürfen nicht negativ sein.");
    const double width = left + columns * label.width() + (columns - 1) * gapX;
    const double height = top + rows * label.height() + (rows - 1) * gapY;
    const QLocale locale;
    if (width > paper.width() + kTolerance || height > paper.height() + kTolerance)
        return QStringLiteral("Die Etiketten passen nicht auf das Blatt: Sie brauchen %1 × %2 mm, das Blatt hat %3 × %4 mm.")
            .arg(locale.toString(width, 'f', 1), locale.toString(height, 'f', 1), locale.toString(paper.width(), 'f', 1),
                 locale.toString(paper.height(), 'f', 1));
    if (first < 1 || first > perPage())
        return QStringLiteral("Die erste freie Position muss zwischen 1 und %1 liegen.").arg(perPage());
    return QString();
}

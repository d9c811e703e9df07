#include "LayoutCheck.h"
#include "PageStream.h"
#include <algorithm>

namespace {

constexpr double kTolerance = 0.5; // page units: 1/20 mm of rounding

bool contains(const QRectF &outer, const QRectF &inner)
{
    return inner.left() >= outer.left() - kTolerance && inner.top() >= outer.top() - kTolerance &&
           inner.right() <= outer.right() + kTolerance && inner.bottom() <= outer.bottom() + kTolerance;
}

bool overlap(const QRectF &a, const QRectF &b)
{
    return a.left() < b.right() - kTolerance && b.left() < a.right() - kTolerance && a.top() < b.bottom() - kTolerance &&
           b.top() < a.bottom() - kTolerance;
}

QString where(const TTextBox &b) { return QStringLiteral("Seite %1: \u201E%2\u201C").arg(b.page).arg(b.text.left(40)); }

} // namespace

QStringList layoutFaults(const TPageStream &stream)
{
    QStringList faults;
    const QRectF printable = stream.printableArea();
    QList<const TTextBox *> sorted;
    for (const TTextBox &b : stream.boxes) {
        if (!contains(b.given, b.needed))
            faults << where(b) + QStringLiteral(" braucht mehr Platz als sein Feld");
        if (!contains(printable, b.given) || !contains(printable, b.needed))
            faults << where(b) + QStringLiteral(" liegt außerhalb des druckbaren Bereichs");
        sorted << &b;
    }
    std::sort(sorted.begin(), sorted.end(), [](const TTextBox *a, const TTextBox *b) {
        return a->page != b->page ? a->page < b->page : a->needed.top() < b->needed.top();
    });
    for (qsizetype i = 0; i < sorted.size(); ++i)
        for (qsizetype j = i + 1; j < sorted.size() && sorted[j]->page == sorted[i]->page &&
                                  sorted[j]->needed.top() < sorted[i]->needed.bottom();
             ++j)
            if (overlap(sorted[i]->needed, sorted[j]->needed))
                faults << where(*sorted[i]) + QStringLiteral(" überdeckt ") + where(*sorted[j]).section(u':', 1).trimmed();
    return faults;
}

#include "ColumnSizing.h"
#include "DataSet.h"
#include "Field.h"
#include <numeric>

namespace columnsizing {

namespace {
constexpr int rowsLookedAt = 500;
constexpr int longestTextLookedAt = 40;

void addSamples(const TField &field, QStringList &texts)
{
    switch (field.dataType()) {
    case TFieldType::Boolean:
        texts << field.displayTextOf(qint64(1)) << field.displayTextOf(qint64(0));
        break;
    case TFieldType::DateTime:
        texts << field.displayTextOf(TTimestamp::fromDateTime(QDateTime(QDate(2088, 12, 28), QTime(23, 58, 58))));
        break;
    case TFieldType::Decimal:
        if (!field.displayFormat.isEmpty())
            texts << field.displayTextOf(TDecimal::fromDouble(888.88, field.scale()));
        break;
    case TFieldType::Float:
        if (!field.displayFormat.isEmpty())
            texts << field.displayTextOf(888.88);
        break;
    default:
        break;
    }
}
} // namespace

QStringList usualTexts(const TField &field, TDataSet *set)
{
    QStringList texts;
    addSamples(field, texts);
    if (!set || !set->active())
        return texts;
    const int longest = field.displayWidth > 0 ? field.displayWidth : longestTextLookedAt;
    const int rows = std::min(set->recordCount(), rowsLookedAt);
    for (int row = 0; row < rows; ++row) {
        const QString text = field.displayTextOf(set->valueAt(row, &field));
        texts << (text.size() > longest ? text.left(longest) : text);
    }
    return texts;
}

QList<int> fitWidths(const QList<int> &natural, const QList<int> &least, int available)
{
    const qsizetype count = natural.size();
    const int naturalSum = std::accumulate(natural.begin(), natural.end(), 0);
    const int leastSum = std::accumulate(least.begin(), least.end(), 0);
    if (count == 0 || naturalSum <= 0 || leastSum >= available)
        return least;
    QList<int> widths(count);
    // Columns held at their least width give up no share; the others split
    // the rest by their natural widths.
    QList<bool> held(count, false);
    for (bool changed = true; changed;) {
        changed = false;
        int freeNatural = 0, freeSpace = available;
        for (qsizetype i = 0; i < count; ++i)
            held[i] ? freeSpace -= least[i] : freeNatural += natural[i];
        for (qsizetype i = 0; i < count; ++i) {
            if (held[i]) {
                widths[i] = least[i];
                continue;
            }
            widths[i] = freeNatural > 0 ? static_cast<int>(qint64(natural[i]) * freeSpace / freeNatural) : least[i];
            if (widths[i] < least[i]) {
                held[i] = true;
                changed = true;
            }
        }
    }
    const int used = std::accumulate(widths.begin(), widths.end(), 0);
    widths.last() += available - used;
    return widths;
}

} // namespace columnsizing

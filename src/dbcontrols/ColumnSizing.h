#pragma once
#include <QList>
#include <QStringList>

class TDataSet;
class TField;

// What decides the width of a grid column besides its title.
namespace columnsizing {

// The texts a column of this field usually shows: both texts of a yes/no
// field, a late date and time in the field's format, a three-digit amount
// of a formatted number, and the values of the first rows read (texts no
// longer than the field's display width). set may be null or closed.
QStringList usualTexts(const TField &field, TDataSet *set);

// Widths that share `available` pixels in proportion to the natural widths,
// none below its least width; the last column takes what rounding leaves.
// When even the least widths do not fit, the least widths.
QList<int> fitWidths(const QList<int> &natural, const QList<int> &least, int available);

} // namespace columnsizing

#include "LabelStock.h"
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace {

TLabelStock sheetPreset(const QString &key, int columns, int rows, QSizeF label, double top, double left, double gapX = 0,
                        double gapY = 0)
{
    const QLocale german(QLocale::German);
    TLabelStock stock;
    stock.key = key;
    stock.title = QStringLiteral("A4-Bogen %1 × %2 (%3 × %4 mm)")
                      .arg(columns)
                      .arg(rows)
                      .arg(german.toString(label.width()), german.toString(label.height()));
    stock.sheet.paper = QSizeF(210, 297);
    stock.sheet.label = label;
    stock.sheet.rows = rows;
    stock.sheet.columns = columns;
    stock.sheet.top = top;
    stock.sheet.left = left;
    stock.sheet.gapX = gapX;
    stock.sheet.gapY = gapY;
    return stock;
}

QString number(double value) { return QString::number(value, 'g', 6); }

} // namespace

TLabelStock rollStock(QSizeF label)
{
    const QLocale german(QLocale::German);
    TLabelStock stock;
    stock.key = QStringLiteral("rolle-%1x%2").arg(number(label.width()), number(label.height()));
    stock.title = QStringLiteral("Rolle %1 × %2 mm").arg(german.toString(label.width()), german.toString(label.height()));
    stock.roll = true;
    stock.sheet.paper = label;
    stock.sheet.label = label;
    return stock;
}

TLabelStock ownSheetStock(const TLabelSheet &sheet)
{
    TLabelStock stock;
    stock.title = QStringLiteral("Eigener Bogen");
    stock.sheet = sheet;
    stock.sheet.paper = QSizeF(210, 297);
    stock.sheet.first = 1;
    return stock;
}

const QList<TLabelStock> &labelStockPresets()
{
    // The label fills the sheet's width or stands centred on it.
    static const QList<TLabelStock> presets = {
        sheetPreset(QStringLiteral("a4-3x8"), 3, 8, QSizeF(70, 37), 0.5, 0),
        sheetPreset(QStringLiteral("a4-3x7"), 3, 7, QSizeF(70, 42.3), 0.45, 0),
        sheetPreset(QStringLiteral("a4-2x7"), 2, 7, QSizeF(99.1, 38.1), 15.15, 4.65, 2.5),
        sheetPreset(QStringLiteral("a4-4x10"), 4, 10, QSizeF(48.5, 25.4), 21.5, 8),
        rollStock(QSizeF(62, 29)),
        rollStock(QSizeF(50, 30)),
    };
    return presets;
}

std::optional<TLabelStock> labelStockByKey(const QString &key)
{
    for (const TLabelStock &stock : labelStockPresets())
        if (stock.key.compare(key, Qt::CaseInsensitive) == 0)
            return stock;
    static const QRegularExpression roll(QStringLiteral("^rolle-(\\d+(?:\\.\\d+)?)x(\\d+(?:\\.\\d+)?)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = roll.match(key);
    if (!m.hasMatch())
        return std::nullopt;
    const TLabelStock stock = rollStock(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    if (!stock.sheet.fault().isEmpty())
        return std::nullopt;
    return stock;
}

QString labelStockSetting(const TLabelStock &stock)
{
    if (!stock.key.isEmpty())
        return stock.key;
    const TLabelSheet &s = stock.sheet;
    return QStringList{QStringLiteral("bogen"),    QString::number(s.rows),    QString::number(s.columns),
                       number(s.label.width()),    number(s.label.height()),   number(s.top),
                       number(s.left),             number(s.gapX),             number(s.gapY)}
        .join(u';');
}

std::optional<TLabelStock> labelStockFromSetting(const QString &text)
{
    const QStringList parts = text.split(u';');
    if (parts.size() != 9 || parts.first() != u"bogen")
        return labelStockByKey(text);
    QList<double> values;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        bool ok = false;
        values << parts.at(i).toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    TLabelSheet sheet;
    sheet.rows = static_cast<int>(values[0]);
    sheet.columns = static_cast<int>(values[1]);
    sheet.label = QSizeF(values[2], values[3]);
    sheet.top = values[4];
    sheet.left = values[5];
    sheet.gapX = values[6];
    sheet.gapY = values[7];
    const TLabelStock stock = ownSheetStock(sheet);
    if (!stock.sheet.fault().isEmpty())
        return std::nullopt;
    return stock;
}

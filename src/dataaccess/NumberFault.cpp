#include "NumberFault.h"
#include "Decimal.h"
#include <algorithm>

namespace {

bool allDigits(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString numberFault(const QString &text, const QLocale &locale, bool wholeOnly, int integerDigits)
{
    QString number = text.trimmed();
    if (number.startsWith(u'-') || number.startsWith(u'+'))
        number.remove(0, 1);
    const QString point = locale.decimalPoint();
    // "0.25" on a German keyboard: the user meant the decimal comma.
    if (!wholeOnly && point != u"." && number.count(u'.') == 1 && !number.contains(point)) {
        const QString withPoint = QString(text.trimmed()).replace(u'.', point);
        if (TDecimal::parse(withPoint, 8, locale))
            return QStringLiteral("\u201E%1\u201C ist keine gültige Zahl. Bitte ein Komma verwenden: %2").arg(text, withPoint);
    }
    const qsizetype at = number.indexOf(point);
    const QString whole = QString(at < 0 ? number : number.left(at)).remove(locale.groupSeparator());
    const QString fraction = at < 0 ? QString() : number.mid(at + point.size());
    if (allDigits(whole) && (fraction.isEmpty() || allDigits(fraction))) {
        if (wholeOnly && at >= 0)
            return QStringLiteral("\u201E%1\u201C ist keine ganze Zahl.").arg(text);
        if (whole.size() > integerDigits)
            return QStringLiteral("\u201E%1\u201C ist zu groß.").arg(text);
    }
    return QStringLiteral("\u201E%1\u201C ist keine gültige Zahl.").arg(text);
}

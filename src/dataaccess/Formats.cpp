#include "Formats.h"
#include <QHash>

namespace formats {

QString formatNumber(const TDecimal &value, const QString &pattern, const QLocale &locale)
{
    const qsizetype point = pattern.indexOf(u'.');
    const QString intPattern = point < 0 ? pattern : pattern.left(point);
    const QString fracPattern = point < 0 ? QString() : pattern.mid(point + 1);
    const int minFrac = static_cast<int>(fracPattern.count(u'0'));
    const int maxFrac = minFrac + static_cast<int>(fracPattern.count(u'#'));
    const int minInt = static_cast<int>(intPattern.count(u'0'));
    const bool grouping = intPattern.contains(u',');

    const TDecimal rounded = value.rescaled(maxFrac);
    const qint64 units = rounded.units() < 0 ? -rounded.units() : rounded.units();
    qint64 p = 1;
    for (int i = 0; i < maxFrac; ++i)
        p *= 10;
    QString intDigits = QString::number(units / p);
    QString fracDigits = maxFrac > 0 ? QString::number(units % p).rightJustified(maxFrac, u'0') : QString();
    while (fracDigits.size() > minFrac && fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    if (intDigits == u"0" && minInt == 0)
        intDigits.clear();
    intDigits = intDigits.rightJustified(minInt, u'0');
    if (grouping) {
        const QString group = locale.groupSeparator();
        for (qsizetype at = intDigits.size() - 3; at > 0; at -= 3)
            intDigits.insert(at, group);
    }
    QString text = intDigits;
    if (!fracDigits.isEmpty())
        text += locale.decimalPoint() + fracDigits;
    const bool negative = rounded.units() < 0;
    return negative ? locale.negativeSign() + text : text;
}

QString formatNumber(double value, const QString &pattern, const QLocale &locale)
{
    return formatNumber(TDecimal::fromDouble(value, 8), pattern, locale);
}

QString toQtDatePattern(const QString &pattern)
{
    QString out;
    const bool twelveHour = pattern.contains(QStringLiteral("AMPM"), Qt::CaseInsensitive);
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i).toLower();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run).toLower() == c)
            ++run;
        if (pattern.mid(i, 4).compare(QStringLiteral("AMPM"), Qt::CaseInsensitive) == 0) {
            out += QStringLiteral("AP");
            i += 4;
            continue;
        }
        switch (c.unicode()) {
        case 'd': out += QString(run, u'd'); break;
        case 'y': out += QString(run, u'y'); break;
        case 'm': out += QString(run, afterHour ? u'm' : u'M'); afterHour = false; break;
        case 'h': out += QString(run, twelveHour ? u'h' : u'H'); afterHour = true; break;
        case 'n': out += QString(run, u'm'); break;
        case 's': out += QString(run, u's'); break;
        default:
            out += QStringLiteral("'") + pattern.mid(i, run) + QStringLiteral("'");
            break;
        }
        i += run;
    }
    return out;
}

QString formatDateTime(const QDateTime &value, const QString &pattern, const QLocale &locale)
{
    // Lists and reports format every row with one of a few patterns: each is
    // translated once (per thread).
    static thread_local QHash<QString, QString> translated;
    auto it = translated.constFind(pattern);
    if (it == translated.cend())
        it = translated.insert(pattern, toQtDatePattern(pattern));
    return locale.toString(value, *it);
}

} // namespace formats

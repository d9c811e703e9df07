#include "Decimal.h"
#include <cmath>

namespace {
qint64 pow10(int n)
{
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Divides rounding halves away from zero.
qint64 divRound(qint64 value, qint64 divisor)
{
    const qint64 q = value / divisor;
    const qint64 r = value % divisor;
    if (2 * (r < 0 ? -r : r) >= divisor)
        return q + (value < 0 ? -1 : 1);
    return q;
}
} // namespace

TDecimal TDecimal::fromInteger(qint64 value, int scale) { return TDecimal(value * pow10(scale), scale); }

TDecimal TDecimal::fromDouble(double value, int scale)
{
    return TDecimal(static_cast<qint64>(std::llround(value * static_cast<double>(pow10(scale)))), scale);
}

std::optional<TDecimal> TDecimal::parse(const QString &input, int scale, const QLocale &locale)
{
    QString text = input.trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.startsWith(u'-');
        text.remove(0, 1);
    }
    const QString point = locale.decimalPoint();
    const qsizetype at = text.indexOf(point);
    QString intPart = at < 0 ? text : text.left(at);
    const QString fracPart = at < 0 ? QString() : text.mid(at + point.size());

    // Group separators count only where they split the integer part into
    // groups of three: "1.234,5" is 1234,5 in German, "0.5" is refused.
    const QString group = locale.groupSeparator();
    if (!group.isEmpty() && intPart.contains(group)) {
        const QStringList groups = intPart.split(group);
        if (groups.first().isEmpty() || groups.first().size() > 3)
            return std::nullopt;
        for (qsizetype i = 1; i < groups.size(); ++i)
            if (groups.at(i).size() != 3)
                return std::nullopt;
        intPart = groups.join(QString());
    }
    const auto allDigits = [](const QString &s) {
        for (QChar c : s)
            if (c < u'0' || c > u'9')
                return false;
        return true;
    };
    if ((intPart.isEmpty() && fracPart.isEmpty()) || !allDigits(intPart) || !allDigits(fracPart))
        return std::nullopt;
    if (intPart.size() > 18 - scale)
        return std::nullopt;

    qint64 units = (intPart.isEmpty() ? 0 : intPart.toLongLong()) * pow10(scale);
    const QString kept = fracPart.left(scale).leftJustified(scale, u'0');
    if (scale > 0)
        units += kept.toLongLong();
    if (fracPart.size() > scale && fracPart.at(scale) >= u'5')
        units += 1;
    return TDecimal(negative ? -units : units, scale);
}

double TDecimal::toDouble() const { return static_cast<double>(m_units) / static_cast<double>(pow10(m_scale)); }

TDecimal TDecimal::rescaled(int scale) const
{
    if (scale == m_scale)
        return *this;
    if (scale > m_scale)
        return TDecimal(m_units * pow10(scale - m_scale), scale);
    return TDecimal(divRound(m_units, pow10(m_scale - scale)), scale);
}

QString TDecimal::toPlainString() const
{
    const qint64 p = pow10(m_scale);
    const qint64 absUnits = m_units < 0 ? -m_units : m_units;
    QString s = QString::number(absUnits / p);
    if (m_scale > 0) {
        QString frac = QString::number(absUnits % p).rightJustified(m_scale, u'0');
        while (frac.endsWith(u'0'))
            frac.chop(1);
        if (!frac.isEmpty())
            s += u'.' + frac;
    }
    return m_units < 0 ? u'-' + s : s;
}

QString TDecimal::toLocaleString(const QLocale &locale) const
{
    QString s = toPlainString();
    return s.replace(u'.', locale.decimalPoint());
}

int TDecimal::compare(const TDecimal &a, const TDecimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    const qint64 x = a.rescaled(scale).m_units, y = b.rescaled(scale).m_units;
    return x < y ? -1 : (x > y ? 1 : 0);
}

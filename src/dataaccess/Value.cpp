#include "Value.h"

qint64 valueToInteger(const TValue &v)
{
    if (const auto *n = std::get_if<qint64>(&v))
        return *n;
    if (const auto *d = std::get_if<TDecimal>(&v))
        return d->rescaled(0).units();
    if (const auto *f = std::get_if<double>(&v))
        return static_cast<qint64>(*f);
    if (const auto *s = std::get_if<QString>(&v))
        return s->toLongLong();
    return 0;
}

TDecimal valueToDecimal(const TValue &v, int emptyScale)
{
    if (const auto *d = std::get_if<TDecimal>(&v))
        return *d;
    if (const auto *n = std::get_if<qint64>(&v))
        return TDecimal(*n, 0);
    if (const auto *f = std::get_if<double>(&v))
        return TDecimal::fromDouble(*f, 8);
    return TDecimal(0, emptyScale);
}

QDateTime valueToDateTime(const TValue &v)
{
    if (const auto *t = std::get_if<TTimestamp>(&v))
        return t->toDateTime();
    if (const auto *d = std::get_if<QDate>(&v))
        return QDateTime(*d, QTime(0, 0));
    return QDateTime();
}

QString valueToPlainText(const TValue &v)
{
    if (const auto *s = std::get_if<QString>(&v))
        return *s;
    if (const auto *n = std::get_if<qint64>(&v))
        return QString::number(*n);
    if (const auto *d = std::get_if<TDecimal>(&v))
        return d->toPlainString();
    if (const auto *f = std::get_if<double>(&v))
        return QString::number(*f, 'g', 15);
    if (const auto *t = std::get_if<TTimestamp>(&v))
        return t->toDateTime().toString(Qt::ISODate);
    if (const auto *d = std::get_if<QDate>(&v))
        return d->toString(Qt::ISODate);
    return QString();
}

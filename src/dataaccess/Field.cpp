#include "Field.h"
#include "DataSet.h"
#include "DateText.h"
#include "DbError.h"
#include "Formats.h"
#include "NumberFault.h"
#include <algorithm>

namespace {

// Places before the separator a 64-bit count of units holds at every value.
constexpr int wholeDigits = 18;

QStringList boolTexts(const QString &displayValues)
{
    QStringList texts = displayValues.split(u';');
    if (texts.size() != 2)
        texts = {QStringLiteral("True"), QStringLiteral("False")};
    return texts;
}

bool hasFraction(const QString &number, const QLocale &locale)
{
    const qsizetype point = number.indexOf(locale.decimalPoint());
    if (point < 0)
        return false;
    const QString digits = number.mid(point + locale.decimalPoint().size());
    return std::any_of(digits.begin(), digits.end(), [](QChar c) { return c != u'0'; });
}

} // namespace

TField::TField(TDataSet *dataSet, const QString &name, TFieldType type, int size, TFieldKind kind)
    : m_dataSet(dataSet), m_name(name), m_type(type), m_kind(kind)
{
    if (type == TFieldType::Decimal)
        m_scale = size;
    else
        m_size = size;
    if (type == TFieldType::Integer || type == TFieldType::Decimal || type == TFieldType::Float)
        alignment = Qt::AlignRight;
}

const TValue &TField::value() const { return m_dataSet->currentValue(this); }
bool TField::isNull() const { return ::isNull(value()); }
TValue TField::oldValue() const { return m_dataSet->oldValue(this); }

qint64 TField::asInteger() const { return valueToInteger(value()); }

bool TField::asBoolean() const { return asInteger() != 0; }

TDecimal TField::asDecimal() const { return valueToDecimal(value(), m_scale); }

double TField::asFloat() const
{
    const TValue &v = value();
    if (const auto *f = std::get_if<double>(&v))
        return *f;
    if (std::holds_alternative<TDecimal>(v) || std::holds_alternative<qint64>(v))
        return asDecimal().toDouble();
    return 0.0;
}

QDateTime TField::asDateTime() const { return valueToDateTime(value()); }

QString TField::asString() const { return plainTextOf(value()); }
QString TField::displayText() const { return displayTextOf(value()); }
QString TField::editText() const { return editTextOf(value()); }

QString TField::plainTextOf(const TValue &v) const { return valueToPlainText(v); }

QString TField::displayTextOf(const TValue &v) const
{
    if (::isNull(v))
        return QString();
    const QLocale locale;
    switch (m_type) {
    case TFieldType::Boolean: {
        const QStringList texts = boolTexts(displayValues);
        const auto *n = std::get_if<qint64>(&v);
        return (n && *n != 0) ? texts.at(0) : texts.at(1);
    }
    case TFieldType::Decimal:
        if (const auto *d = std::get_if<TDecimal>(&v))
            return displayFormat.isEmpty() ? d->toLocaleString(locale) : formats::formatNumber(*d, displayFormat, locale);
        break;
    case TFieldType::Float:
        if (const auto *f = std::get_if<double>(&v))
            return displayFormat.isEmpty() ? locale.toString(*f, 'g', 15) : formats::formatNumber(*f, displayFormat, locale);
        break;
    case TFieldType::DateTime:
        if (const auto *t = std::get_if<TTimestamp>(&v)) {
            if (!displayFormat.isEmpty())
                return formats::formatDateTime(t->toDateTime(), displayFormat, locale);
            const QString date = locale.toString(t->toDate(), QStringLiteral("dd.MM.yyyy"));
            return t->time == 0 ? date : date + u' ' + t->toTime().toString(QStringLiteral("HH:mm:ss"));
        }
        break;
    case TFieldType::Memo:
    case TFieldType::String:
    case TFieldType::Integer:
        break;
    }
    return plainTextOf(v);
}

QString TField::editTextOf(const TValue &v) const
{
    if (::isNull(v))
        return QString();
    const QLocale locale;
    switch (m_type) {
    case TFieldType::Decimal:
        if (const auto *d = std::get_if<TDecimal>(&v))
            return editFormat.isEmpty() ? d->toLocaleString(locale) : formats::formatNumber(*d, editFormat, locale);
        break;
    case TFieldType::Float:
        if (const auto *f = std::get_if<double>(&v))
            return locale.toString(*f, 'g', 15);
        break;
    case TFieldType::DateTime:
    case TFieldType::Boolean:
        return displayTextOf(v);
    default:
        break;
    }
    return plainTextOf(v);
}

TValue TField::parseText(const QString &text) const
{
    const QString trimmed = text.trimmed();
    const QLocale locale;
    switch (m_type) {
    case TFieldType::String:
    case TFieldType::Memo:
        return text;
    case TFieldType::Integer: {
        if (trimmed.isEmpty())
            return std::monostate();
        bool ok = false;
        const qint64 n = locale.toLongLong(trimmed, &ok);
        if (!ok)
            throw EDatabaseError(numberFault(text, locale, true, wholeDigits));
        return n;
    }
    case TFieldType::Decimal: {
        if (trimmed.isEmpty())
            return std::monostate();
        const auto d = TDecimal::parse(trimmed, m_scale, locale);
        // A whole number is not rounded from a fraction.
        if (!d || (m_scale == 0 && hasFraction(trimmed, locale)))
            throw EDatabaseError(numberFault(text, locale, m_scale == 0, wholeDigits - m_scale));
        return *d;
    }
    case TFieldType::Float: {
        if (trimmed.isEmpty())
            return std::monostate();
        const auto d = TDecimal::parse(trimmed, 8, locale);
        if (!d)
            throw EDatabaseError(numberFault(text, locale, false, wholeDigits - 8));
        return d->toDouble();
    }
    case TFieldType::Boolean: {
        if (trimmed.isEmpty())
            return std::monostate();
        const QStringList texts = boolTexts(displayValues);
        if (trimmed.compare(texts.at(0), Qt::CaseInsensitive) == 0 || trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
            return qint64(1);
        if (trimmed.compare(texts.at(1), Qt::CaseInsensitive) == 0 || trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
            return qint64(0);
        throw EDatabaseError(QStringLiteral("\u201E%1\u201C ist kein gültiger Wert (erlaubt: %2 oder %3).")
                                 .arg(text, texts.at(0), texts.at(1)));
    }
    case TFieldType::DateTime: {
        if (trimmed.isEmpty())
            return std::monostate();
        if (const auto read = datetext::read(trimmed))
            return TTimestamp::fromDateTime(*read);
        throw EDatabaseError(datetext::fault(text));
    }
    }
    return text;
}

bool TField::isValidText(const QString &text, QString *message) const
{
    try {
        normalized(parseText(text));
        return true;
    } catch (const EDatabaseError &e) {
        if (message)
            *message = e.message();
        return false;
    }
}

TValue TField::normalized(const TValue &v) const
{
    if (::isNull(v))
        return v;
    switch (m_type) {
    case TFieldType::String:
    case TFieldType::Memo: {
        QString s;
        if (const auto *text = std::get_if<QString>(&v))
            s = *text;
        else
            s = plainTextOf(v);
        if (m_type == TFieldType::String && m_size > 0 && s.size() > m_size)
            s.truncate(m_size);
        if (s.isEmpty() && emptyAsNull)
            return std::monostate();
        return s;
    }
    case TFieldType::Integer:
    case TFieldType::Boolean: {
        qint64 n = 0;
        if (const auto *i = std::get_if<qint64>(&v))
            n = *i;
        else if (const auto *d = std::get_if<TDecimal>(&v))
            n = d->rescaled(0).units();
        else if (const auto *f = std::get_if<double>(&v))
            n = static_cast<qint64>(*f);
        else if (const auto *s = std::get_if<QString>(&v))
            return normalized(parseText(*s));
        else
            throw EDatabaseError(QStringLiteral("Ungültiger Wert für das Feld '%1'.").arg(m_name));
        return m_type == TFieldType::Boolean ? qint64(n != 0 ? 1 : 0) : n;
    }
    case TFieldType::Decimal:
        if (const auto *d = std::get_if<TDecimal>(&v))
            return d->rescaled(m_scale);
        if (const auto *i = std::get_if<qint64>(&v))
            return TDecimal::fromInteger(*i, m_scale);
        if (const auto *f = std::get_if<double>(&v))
            return TDecimal::fromDouble(*f, m_scale);
        if (const auto *s = std::get_if<QString>(&v))
            return normalized(parseText(*s));
        break;
    case TFieldType::Float:
        if (const auto *f = std::get_if<double>(&v))
            return *f;
        if (const auto *d = std::get_if<TDecimal>(&v))
            return d->toDouble();
        if (const auto *i = std::get_if<qint64>(&v))
            return static_cast<double>(*i);
        if (const auto *s = std::get_if<QString>(&v))
            return normalized(parseText(*s));
        break;
    case TFieldType::DateTime:
        if (std::holds_alternative<TTimestamp>(v))
            return v;
        if (const auto *d = std::get_if<QDate>(&v))
            return TTimestamp::fromDate(*d);
        if (const auto *s = std::get_if<QString>(&v))
            return normalized(parseText(*s));
        break;
    }
    throw EDatabaseError(QStringLiteral("Ungültiger Wert für das Feld '%1'.").arg(m_name));
}

void TField::setValue(const TValue &v) { m_dataSet->setFieldValue(this, v); }

void TField::setAsDateTime(const QDateTime &v)
{
    setValue(v.isValid() ? TValue(TTimestamp::fromDateTime(v)) : TValue());
}

void TField::setAsString(const QString &v)
{
    if (m_type == TFieldType::String || m_type == TFieldType::Memo)
        setValue(v);
    else
        setValue(parseText(v));
}

void TField::setEditText(const QString &text) { setValue(parseText(text)); }

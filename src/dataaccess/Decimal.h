#pragma once
#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// An exact fixed-point number: units * 10^-scale, as DECIMAL(18,n) is stored.
// It never passes through double on its way to or from the database.
class TDecimal {
public:
    constexpr TDecimal() = default;
    constexpr TDecimal(qint64 units, int scale) : m_units(units), m_scale(scale) {}

    static TDecimal fromInteger(qint64 value, int scale = 0);
    // Nearest value at the scale, halves away from zero.
    static TDecimal fromDouble(double value, int scale);
    // Plain digits with '.' or the locale's decimal separator, optional sign,
    // optional group separators of the locale. More places than the scale are
    // rounded half away from zero. Empty or malformed text gives nullopt.
    static std::optional<TDecimal> parse(const QString &text, int scale, const QLocale &locale = QLocale());

    qint64 units() const { return m_units; }
    int scale() const { return m_scale; }
    double toDouble() const;
    TDecimal rescaled(int scale) const; // halves away from zero when places are dropped

    // Digits with '.' and without trailing fraction zeros ("0.3", "12").
    QString toPlainString() const;
    // As toPlainString, with the locale's decimal separator ("0,3").
    QString toLocaleString(const QLocale &locale = QLocale()) const;

    friend bool operator==(const TDecimal &a, const TDecimal &b) { return compare(a, b) == 0; }
    friend std::strong_ordering operator<=>(const TDecimal &a, const TDecimal &b) { return compare(a, b) <=> 0; }

private:
    static int compare(const TDecimal &a, const TDecimal &b);
    qint64 m_units = 0;
    int m_scale = 0;
};

#pragma once
#include "Decimal.h"
#include <QDateTime>
#include <QLocale>
#include <QString>

// Number and date patterns in the notation the record sets declare:
// "#,##0.00" (',' groups, '0' a digit always shown, '#' a digit shown when
// needed, '.' the decimal separator) and "dd.mm.yyyy hh:mm AMPM" ("mm"
// after an hour is minutes; AMPM switches to the 12-hour clock).
namespace formats {
QString formatNumber(const TDecimal &value, const QString &pattern, const QLocale &locale = QLocale());
QString formatNumber(double value, const QString &pattern, const QLocale &locale = QLocale());
QString formatDateTime(const QDateTime &value, const QString &pattern, const QLocale &locale = QLocale());
// The Qt pattern of a date pattern of the notation above.
QString toQtDatePattern(const QString &pattern);
} // namespace formats

#pragma once
#include <QLocale>
#include <QString>

// The German message for a typed text that is no number a field can take,
// naming the actual fault where it can be told: a number too large for the
// field, a fraction where only whole numbers fit, a decimal point where the
// locale expects a comma. integerDigits is the most places before the
// separator the field holds.
QString numberFault(const QString &text, const QLocale &locale, bool wholeOnly, int integerDigits);

#pragma once
// Reading one cell of an export as what the profile says it is. Nothing is
// guessed: a cell that does not read cleanly gives a German reason.
#include "Decimal.h"
#include <QDateTime>
#include <QString>
#include <optional>

struct TCellNumber {
    std::optional<TDecimal> value; // none: the cell is empty (not measured)
    QString error;                 // German; set when the cell is no number
};

// A measured value: digits with at most one decimal sign of the profile's
// kind, optionally a leading minus. A unit, a group separator or the other
// decimal sign is refused, never stripped.
TCellNumber parseMeasuredValue(const QString &cell, bool decimalComma, const QString &label);

struct TCellCheck {
    std::optional<bool> passed; // none: the cell is empty
    QString error;
};

// A pass or fail text as instruments write it ("bestanden", "i.O.", "OK",
// "ja", "1", "pass"; "nicht bestanden", "n.i.O.", "Fehler", "nein", "0",
// "fail").
TCellCheck parseCheck(const QString &cell, const QString &label);

// A device number: digits only, up to 18; leading zeros do not count.
std::optional<QString> parseDeviceNumber(const QString &cell);

struct TCellDateTime {
    QDateTime value; // invalid: missing or unreadable, error says which
    QString error;
    bool missing = false;
};

// The date cell, and the time cell when the profile has one; with no time
// cell the time is read from the date cell when a time format is given.
TCellDateTime parseDateTime(const QString &dateCell, const std::optional<QString> &timeCell, const QString &dateFormat,
                            const QString &timeFormat);

#pragma once
#include <QDateTime>
#include <QString>
#include <optional>

// Dates as the user types them into the program's date fields:
// "31.12.2027", "1.2.2027", "31.12.27" (the year nearest to today), each
// with or without a time ("31.12.2027 14:30").
namespace datetext {
// The date and time read from the text; nullopt when it is no date.
std::optional<QDateTime> read(const QString &text);
// The German message that refuses a text which is no date.
QString fault(const QString &text);
} // namespace datetext

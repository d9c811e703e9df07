#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// What every velmora-db command shares: its exit codes, its two streams and
// how it reads numbers and days from its arguments.
namespace cli {

enum Exit { Ok = 0, Refused = 1, Usage = 2 };

QTextStream &out();
QTextStream &err();
// Prints the reason on stderr; Refused.
int refuse(const QString &message);
// Says what was not understood (when anything) and how to call the
// command; Usage.
int usageWith(const QString &why, const char *calls);
// Takes "NAME FILE" out of the arguments and returns FILE, empty when the
// option is not given; without its file, problem says "NAME ohne Datei".
QString takeFileOption(QStringList &args, const QString &name, QString &problem);
// A whole number of at least 0, or none.
std::optional<int> number(const QString &text);
// A day written JJJJ-MM-TT; invalid otherwise.
QDate isoDate(const QString &text);

} // namespace cli

#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

class TCollectedMessages;

// What the commands that write pages ("report", "labels") share: exit
// codes, messages on standard error, whole numbers in arguments, and an
// application with fonts but without a display.
namespace pagecommand {

enum Exit { Ok = 0, Refused = 1, Usage = 2 };

QTextStream &err();
// Prints the message; returns Refused.
int refuse(const QString &message);
// A whole number of 0 or more, or none.
std::optional<int> number(const QString &text);

// Runs a command: parse reads the arguments after the command's name and
// returns why it did not understand them (then usage prints how to call
// it), write does the work with the data module's messages collected; an
// engine error is printed and refused.
int run(int argc, char *argv[], const std::function<QString(const QStringList &args)> &parse,
        const std::function<int(const QString &why)> &usage, const std::function<int(TCollectedMessages &)> &write);

} // namespace pagecommand

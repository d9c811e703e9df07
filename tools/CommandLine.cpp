#include "CommandLine.h"
#include "TerminalProgress.h"

namespace cli {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int refuse(const QString &message)
{
    endProgressLine();
    err() << message << Qt::endl;
    return Refused;
}

int usageWith(const QString &why, const char *calls)
{
    if (!why.isEmpty())
        err() << why << "\n";
    err() << "Aufruf:\n" << calls << Qt::flush;
    return Usage;
}

QString takeFileOption(QStringList &args, const QString &name, QString &problem)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return {};
    if (at + 1 >= args.size()) {
        problem = name + QStringLiteral(" ohne Datei");
        args.removeAt(at);
        return {};
    }
    const QString file = args.takeAt(at + 1);
    args.removeAt(at);
    return file;
}

std::optional<int> number(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 0 ? std::optional<int>(n) : std::nullopt;
}

QDate isoDate(const QString &text)
{
    return QDate::fromString(text, Qt::ISODate);
}

} // namespace cli

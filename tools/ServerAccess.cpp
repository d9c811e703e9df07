#include "ServerAccess.h"
#include <QTextStream>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

QString takeUserOption(QStringList &args, bool &malformed)
{
    const qsizetype at = args.indexOf(QStringLiteral("--user"));
    if (at < 0)
        return {};
    if (at + 1 >= args.size() || args.at(at + 1).startsWith(QStringLiteral("--"))) {
        malformed = true;
        return {};
    }
    const QString user = args.at(at + 1);
    args.remove(at, 2);
    return user;
}

namespace {

// One line from the terminal with its echo switched off.
std::optional<QString> readHidden(const QString &prompt)
{
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    QTextStream err(stderr);
    err << prompt << ' ' << Qt::flush;
    termios old {};
    ::tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, stdin) != nullptr;
    ::tcsetattr(STDIN_FILENO, TCSANOW, &old);
    err << Qt::endl;
    if (!read)
        return std::nullopt;
    return QString::fromLocal8Bit(line).remove(u'\n').remove(u'\r');
}

} // namespace

std::optional<TServerLogin> askServerLogin(const QString &user)
{
    TServerLogin login{user.isEmpty() ? QStringLiteral("SYSDBA") : user, {}};
    if (qEnvironmentVariableIsSet("ISC_PASSWORD")) {
        login.password = qEnvironmentVariable("ISC_PASSWORD");
        return login;
    }
    const std::optional<QString> typed = readHidden(QStringLiteral("Kennwort für %1:").arg(login.user));
    if (!typed) {
        QTextStream(stderr) << QStringLiteral("Kein Kennwort für %1: ISC_PASSWORD setzen oder im Terminal aufrufen.")
                                   .arg(login.user)
                            << Qt::endl;
        return std::nullopt;
    }
    login.password = *typed;
    return login;
}

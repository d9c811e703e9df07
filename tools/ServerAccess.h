#pragma once
#include "ServerLogin.h"
#include <QStringList>
#include <optional>

// "--user NAME" taken out of the arguments; empty when not given. A
// "--user" without a name counts as malformed.
QString takeUserOption(QStringList &args, bool &malformed);

// The login for a database on a server: the user given (SYSDBA when none),
// the password from ISC_PASSWORD or, on a terminal, typed without echo.
// Empty when no password can be had; the reason is printed.
std::optional<TServerLogin> askServerLogin(const QString &user);

// The exit code of a login that failed or had no password.
inline constexpr int kExitLogin = 3;

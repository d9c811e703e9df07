#include "ToolConnection.h"
#include "CommandLine.h"
#include "DbError.h"
#include "NewDatabase.h"
#include "OpenFailure.h"
#include "ServerAccess.h"
#include "ServerLogin.h"
#include <QFileInfo>
#include <ibase.h>
#include <optional>

namespace {
QString g_user;
std::optional<TServerLogin> g_login;
} // namespace

void setServerUser(const QString &user) { g_user = user; }
QString serverUser() { return g_user; }

bool onServer(const QString &path) { return TDatabase::isServerName(path); }

bool missing(const QString &path) { return !onServer(path) && !QFileInfo::exists(path); }

int refuseMissing(const QString &path) { return cli::refuse(QStringLiteral("Die Datei %1 gibt es nicht.").arg(path)); }

TToolConnection::TToolConnection(const QString &path)
{
    db.params = connectionParams();
    db.setDatabaseName(path);
}

QString TToolConnection::open()
{
    try {
        if (onServer(db.databaseName())) {
            if (!g_login)
                g_login = askServerLogin(g_user);
            if (!g_login) {
                loginFailed = true;
                return QStringLiteral("Ohne Kennwort keine Verbindung zu %1.").arg(db.databaseName());
            }
            db.params = connectionParamsFor(db.databaseName(), *g_login);
        }
        db.open();
        return {};
    } catch (const EDatabaseError &e) {
        loginFailed = e.hasEngineCode(isc_login);
        const QString cause = openFailureCause(db.databaseName(), e);
        return cause.isEmpty() ? kDatabaseInUse + u'\n' + e.message() : cause + u'\n' + e.message();
    }
}

int TToolConnection::openOrRefuse()
{
    if (missing(db.databaseName()))
        return refuseMissing(db.databaseName());
    if (const QString failure = open(); !failure.isEmpty())
        return refuseUnopened(failure);
    return cli::Ok;
}

int TToolConnection::refuseUnopened(const QString &failure) const
{
    cli::refuse(failure);
    return loginFailed ? kExitLogin : cli::Refused;
}

#include "ServerLogin.h"
#include "Database.h"
#include "NewDatabase.h"

QStringList connectionParamsFor(const QString &databaseName, const TServerLogin &login)
{
    QStringList params = connectionParams();
    if (!TDatabase::isServerName(databaseName))
        return params;
    for (QString &line : params) {
        if (line.startsWith(QStringLiteral("user_name=")))
            line = QStringLiteral("user_name=") + login.user;
        else if (line.startsWith(QStringLiteral("password=")))
            line = QStringLiteral("password=") + login.password;
    }
    return params;
}

QString passwordPrompt(const QString &databaseName, const QString &user)
{
    return QStringLiteral("Kennwort für %1 auf %2:").arg(user, databaseName);
}

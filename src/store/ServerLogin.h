#pragma once
#include <QString>
#include <QStringList>

// Who connects to a database reached through a Firebird server ("host:/path"
// or "host/port:/path"). A local file is opened with the program's own
// engine user instead.
struct TServerLogin {
    QString user;
    QString password;
};

// The attach parameters for a database name: the program's own for a local
// file, the login's user and password for a server.
QStringList connectionParamsFor(const QString &databaseName, const TServerLogin &login);

// The text that asks for the password of user at the server database.
QString passwordPrompt(const QString &databaseName, const QString &user);

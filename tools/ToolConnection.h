#pragma once
// How velmora-db's commands reach a database of their own: a file on this
// machine, or a database on a server with the user of "--user" and the
// password from ISC_PASSWORD or the terminal, asked once.
#include "Database.h"
#include <QString>

void setServerUser(const QString &user);
QString serverUser();

bool onServer(const QString &path);
// A file on this machine must be there; one on a server is the server's
// to find.
bool missing(const QString &path);
// "Die Datei … gibt es nicht."; Refused.
int refuseMissing(const QString &path);

struct TToolConnection {
    TDatabase db;
    TTransaction transaction{&db};
    bool loginFailed = false;
    explicit TToolConnection(const QString &path);
    // Opens the database; on failure the reason, in German and in the engine's words.
    QString open();
    // Opens the database, a file of which must be there: Ok, or the exit
    // code after saying why not (refuseMissing, refuseUnopened).
    int openOrRefuse();
    // Says why it did not open: exit code 3 for a login without password or
    // one the server refused, Refused otherwise.
    int refuseUnopened(const QString &failure) const;
};

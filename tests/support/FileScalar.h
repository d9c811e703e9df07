#pragma once
// One number read from a database file through a connection of its own,
// for tests whose program under test has let go of the file.
#include "Database.h"
#include "NewDatabase.h"
#include "Query.h"

inline qint64 fileScalar(const QString &path, const QString &sql)
{
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    db.setDatabaseName(path);
    db.open();
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    return q.asInteger(0);
}

#pragma once
// One number or text read from a database file through a connection of its own,
// for tests whose program under test has let go of the file.
#include "Database.h"
#include "NewDatabase.h"
#include "Query.h"

// The first column of the first row, read by the given function.
template<class Read>
auto fileValue(const QString &path, const QString &sql, Read read)
{
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    db.setDatabaseName(path);
    db.open();
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    return read(q);
}

inline qint64 fileScalar(const QString &path, const QString &sql)
{
    return fileValue(path, sql, [](TQuery &q) { return q.asInteger(0); });
}

inline QString fileText(const QString &path, const QString &sql)
{
    return fileValue(path, sql, [](TQuery &q) { return q.asString(0); });
}

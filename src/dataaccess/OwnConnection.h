#pragma once
// A connection of its own to a database that another connection names, for
// long work on a worker thread: the embedded engine lets one process attach
// a file several times, and one attachment is used by one thread at a time.
#include "Database.h"

struct OwnConnection {
    TDatabase db;
    TTransaction transaction{&db};

    // Attaches at once; path and params are read on the window's thread
    // and handed over.
    OwnConnection(const QString &path, const QStringList &params)
    {
        db.params = params;
        db.setDatabaseName(path);
        db.open();
    }
};

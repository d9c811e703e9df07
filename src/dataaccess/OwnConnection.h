#pragma once
// A connection of its own to a database that another connection names, for
// long work on a worker thread: the embedded engine lets one process attach
// a file several times, and one attachment is used by one thread at a time.
#include "Database.h"
#include "LongWork.h"

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

// Long work on a connection of its own to the file that database names: the
// name and parameters are read here, on the calling thread, and the work
// attaches on the worker's.
inline void runOnOwnConnection(const TDatabase &database, const QString &title, bool cancellable,
                               const std::function<void(OwnConnection &own, const Progress &progress)> &work)
{
    const QString path = database.databaseName();
    const QStringList params = database.params;
    runLongWork(title, cancellable, [&](const Progress &progress) {
        OwnConnection own(path, params);
        work(own, progress);
    });
}

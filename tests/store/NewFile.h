#pragma once
#include "Database.h"
#include "NewDatabase.h"
#include "Query.h"
#include "TestDatabase.h"
#include <QTemporaryDir>

// A new database file built the way the program builds one, before any
// upgrade step: the state of a file from the program's first version.
struct NewFile {
    QTemporaryDir dir;
    TDatabase db;
    TTransaction transaction{&db};
    // characterSet "ISO8859_1" makes a file of the versions before UTF-8.
    explicit NewFile(const QString &characterSet = kNewFileCharacterSet)
    {
        db.params = connectionParams();
        createVelmoraDatabase(db, dir.filePath("VELMORA.FDB"), {}, characterSet);
    }
    qint64 scalar(const QString &sql)
    {
        TQuery q(&db);
        q.setSql(sql);
        q.execQuery();
        return q.asInteger(0);
    }
    QList<QStringList> rows(const QString &sql)
    {
        TQuery q(&db);
        q.setSql(sql);
        QList<QStringList> result;
        for (q.execQuery(); !q.eof(); q.next()) {
            QStringList row;
            for (int i = 0; i < q.columnCount(); ++i)
                row << (q.isNull(i) ? QStringLiteral("NULL") : q.asString(i));
            result << row;
        }
        return result;
    }
    // Runs a statement as a database tool would, committed.
    void exec(const QString &sql)
    {
        TQuery q(&db);
        q.setSql(sql);
        q.execQuery();
        q.close();
        transaction.commit();
    }
    // The file attached anew, as at the next start of the program.
    void reopen()
    {
        db.close();
        db.open();
    }
};

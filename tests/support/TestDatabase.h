#pragma once
#include "Database.h"
#include "Query.h"
#include <QTemporaryDir>
#include <memory>

// A real embedded database file in a temporary folder, attached with the
// program's connection parameters, for every test that touches data.
class TTestDatabase {
public:
    static QStringList connectionParams();
    static QStringList createParams();

    TTestDatabase();
    ~TTestDatabase();

    TDatabase database;
    TTransaction *transaction;
    QString path;

    // Runs one statement and commits (DDL and seed rows).
    void exec(const QString &sql);
    // First column of the first row, as an integer.
    qint64 scalar(const QString &sql);
    // The same file attached anew, e.g. to see what reached the disk.
    void reconnect();

private:
    QTemporaryDir m_dir;
};

// Home, settings, data, cache and documents folders of this process's own,
// in a temporary folder: a test never touches the developer's. Runs before
// main in every test that links this file; idempotent.
void isolateHomes();
// The user's cache folder from before isolateHomes, for benchmarks that keep
// generated files between runs.
QString originalCacheHome();

// Locale, Qt's texts, settings and data folders as every test wants them:
// de_DE, Qt's German translations, and private temporary folders instead of
// the user's own.
void prepareTestEnvironment();

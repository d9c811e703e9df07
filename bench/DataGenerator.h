#pragma once
#include <QString>
#include <QStringList>

class TDatabase;

// Builds (or finds again) a database file with one table shaped like the
// program's inspections table, filled with generated rows, for benchmarks.
class TBenchData {
public:
    // Lines for TDatabase::params when creating and when attaching.
    static QStringList createParams();
    static QStringList connectionParams();

    // The folder used when none is given: QDir::tempPath()/velmora-bench.
    static QString defaultFolder();
    // The file for a number of rows inside a folder.
    static QString filePath(const QString &folder, int rows);

    // The table's DDL and the select over all its 20 columns.
    static QString createTableSql();
    static QString selectSql();
    static const QStringList &columnNames();

    // Makes sure filePath(folder, rows) holds the table with exactly `rows`
    // rows: a file that already does is left alone, anything else is
    // replaced by a fresh file. Returns the file's path. Progress goes to
    // stderr when verbose.
    static QString ensureDatabase(const QString &folder, int rows, bool verbose = true);

    // Number of rows in PRUEFUNGEN of the file, or -1 when the file is
    // missing, cannot be attached or has no such table.
    static qint64 countRows(const QString &path);

    // Creates the file anew and inserts `rows` generated rows in one
    // transaction through one prepared statement. Deterministic for a seed.
    static void generate(const QString &path, int rows, quint32 seed = 20240611u, bool verbose = true);
};

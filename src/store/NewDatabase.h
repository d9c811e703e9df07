#pragma once
#include <QStringList>
#include <functional>

class TDatabase;

// The connection parameters of every database of the program.
QStringList connectionParams();
// The lines of the CREATE DATABASE statement of a new file.
QStringList createDatabaseParams();

// Creates a new database file at path over the given connection and builds
// it: schema, fixed rows, demonstration records and the marker row. Between
// creating the empty file and building it, afterCreate runs (the dialog asks
// the user to wait there). The file is built under partialDatabasePath(path)
// and takes its name when complete; an existing file is refused. The
// connection keeps its parameters and stays attached to the new file.
// Failures travel to the caller and leave no file behind.
QString partialDatabasePath(const QString &path);
void createVelmoraDatabase(TDatabase &connection, const QString &path, const std::function<void()> &afterCreate = {});

// The same without demonstration records: schema, limits, protection
// classes and the marker row; then firstRows fills in the firm's own
// records over the connection before the file takes its name.
void createEmptyDatabase(TDatabase &connection, const QString &path, const std::function<void(TDatabase &)> &firstRows);

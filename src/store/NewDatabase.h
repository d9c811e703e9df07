#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class TDatabase;

// The connection parameters of every database of the program.
QStringList connectionParams();
// New files hold their texts in UTF-8; the program's earlier versions made
// ISO8859_1 files, which the upgrade converts (UpgradeUtf8.cpp).
inline const QString kNewFileCharacterSet = QStringLiteral("UTF8");
// The lines of the CREATE DATABASE statement of a new file.
QStringList createDatabaseParams(const QString &characterSet = kNewFileCharacterSet);

// Creates a new database file at path over the given connection and builds
// it: schema, fixed rows, demonstration records and the marker row. Between
// creating the empty file and building it, afterCreate runs (the dialog asks
// the user to wait there). The file is built under partialDatabasePath(path)
// and takes its name when complete; an existing file is refused. The
// connection keeps its parameters and stays attached to the new file.
// Failures travel to the caller and leave no file behind.
QString partialDatabasePath(const QString &path);
// characterSet other than the default only makes files of earlier versions
// for the upgrade's tests.
void createVelmoraDatabase(TDatabase &connection, const QString &path, const std::function<void()> &afterCreate = {},
                           const QString &characterSet = kNewFileCharacterSet);

// The same without demonstration records: schema, limits, protection
// classes and the marker row; then firstRows fills in the firm's own
// records over the connection before the file takes its name.
void createEmptyDatabase(TDatabase &connection, const QString &path, const std::function<void(TDatabase &)> &firstRows);

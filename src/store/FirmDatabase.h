#pragma once
#include <QString>

class TDatabase;

// What a firm types before its first inspection: its own name, the first
// inspector and the first test instrument.
struct FirmStart {
    QString firm;
    QString inspector;
    QString instrument;
    QString instrumentType; // may stay empty
    QString serialNumber;   // may stay empty
};

// A new database file for real work: no demonstration records, only the
// firm as contractor, its first inspector and its first instrument, besides
// the limits, protection classes and marker row every file holds. The
// connection stays attached to the new file.
void createFirmDatabase(TDatabase &connection, const QString &path, const FirmStart &start);

// True when the path names a file on this computer that is not there: the
// program has no database yet (or lost it) and offers to make or choose one.
bool databaseFileMissing(const QString &path);

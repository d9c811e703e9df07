#pragma once
#include <QString>

// The database files this process has attached. An output is never written
// in their place: the engine would go on writing into the old file while
// its name held something else.
void holdFile(const QString &path);
void releaseFile(const QString &path);
// Whether path names one of them: compared by device and inode, so another
// spelling, a link or a relative path is caught too.
bool isHeldFile(const QString &path);

// Whether a database engine, in this process or another, has the file open:
// the engine locks a database file it attaches. Needs only read access and
// changes nothing, unlike attaching it to find out.
bool isLockedByAnEngine(const QString &path);

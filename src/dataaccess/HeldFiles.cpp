#include "HeldFiles.h"
#include <QFile>
#include <QMutex>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QMutex heldMutex;
QStringList held; // one entry per attachment; a file may be attached twice

bool statOf(const QString &path, struct stat &st) { return ::stat(QFile::encodeName(path).constData(), &st) == 0; }

} // namespace

void holdFile(const QString &path)
{
    QMutexLocker lock(&heldMutex);
    held << path;
}

void releaseFile(const QString &path)
{
    QMutexLocker lock(&heldMutex);
    held.removeOne(path);
}

bool isLockedByAnEngine(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // lets go of a lock it got
    return locked;
}

bool isHeldFile(const QString &path)
{
    struct stat target {};
    if (!statOf(path, target))
        return false;
    QMutexLocker lock(&heldMutex);
    for (const QString &file : std::as_const(held)) {
        struct stat st {};
        if (statOf(file, st) && st.st_dev == target.st_dev && st.st_ino == target.st_ino)
            return true;
    }
    return false;
}

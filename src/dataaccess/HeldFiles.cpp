#include "HeldFiles.h"
#include <QFile>
#include <QMutex>
#include <QStringList>
#include <sys/stat.h>

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

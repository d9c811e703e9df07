#include "FileCopy.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 chunkSize = 1024 * 1024;

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

QByteArray local(const QString &path) { return QFile::encodeName(path); }

bool writeAll(int fd, const QByteArray &data)
{
    const char *at = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        left -= n;
    }
    return true;
}

// The renames of the folder reach the disk too.
void syncFolder(const QString &file)
{
    const int fd = ::open(local(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString writeFailureText(const QString &path, int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz für %1.").arg(shown(path));
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Schreibberechtigung für %1.").arg(shown(path));
    case EROFS:
        return QStringLiteral("Der Datenträger von %1 ist schreibgeschützt.").arg(shown(path));
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Den Ordner von %1 gibt es nicht.").arg(shown(path));
    default:
        return QStringLiteral("Die Datei %1 kann nicht geschrieben werden (Systemfehler %2).").arg(shown(path)).arg(error);
    }
}

TFileCopyResult copyFileCompletely(const QString &source, const QString &target,
                                   const std::function<bool(qint64, qint64)> &progress, const QString &keepReplacedAs)
{
    QFile in(source);
    struct stat sourceStat {};
    if (!in.open(QIODevice::ReadOnly) || ::fstat(in.handle(), &sourceStat) != 0)
        return {QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(shown(source))};
    const QString partial = target + QStringLiteral(".part");
    ::unlink(local(partial).constData());
    const int fd = ::open(local(partial).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return {writeFailureText(partial, errno)};
    auto fail = [&](TFileCopyResult result) {
        ::close(fd);
        ::unlink(local(partial).constData());
        return result;
    };

    const qint64 total = in.size();
    qint64 done = 0;
    for (;;) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty())
            break;
        if (!writeAll(fd, chunk))
            return fail({writeFailureText(partial, errno)});
        done += chunk.size();
        if (progress && !progress(done, total))
            return fail({QStringLiteral("Das Kopieren wurde abgebrochen."), true});
    }
    if (in.error() != QFileDevice::NoError || done != total)
        return fail({QStringLiteral("Die Datei %1 wurde nicht vollständig gelesen.").arg(shown(source))});
    if (::fchmod(fd, sourceStat.st_mode & 0777) != 0 || ::fsync(fd) != 0)
        return fail({writeFailureText(partial, errno)});
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(local(partial).constData());
        return {writeFailureText(partial, error)};
    }
    if (!keepReplacedAs.isEmpty() && QFileInfo::exists(target) &&
        ::rename(local(target).constData(), local(keepReplacedAs).constData()) != 0) {
        const int error = errno;
        ::unlink(local(partial).constData());
        return {writeFailureText(keepReplacedAs, error)};
    }
    if (::rename(local(partial).constData(), local(target).constData()) != 0) {
        const int error = errno;
        ::unlink(local(partial).constData());
        return {writeFailureText(target, error)};
    }
    syncFolder(target);
    return {};
}

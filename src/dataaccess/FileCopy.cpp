#include "FileCopy.h"
#include "HeldFiles.h"
#include "PartFiles.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <optional>
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
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
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

QString heldText(const QString &path)
{
    return QStringLiteral("%1 ist eine geöffnete Datenbank und wird nicht überschrieben.").arg(shown(path));
}

// Why a file may not take target's place, or nothing: an open database is
// never replaced, and a device or folder under that name is not a file.
QString refusedTarget(const QString &target)
{
    if (isHeldFile(target))
        return heldText(target);
    const QFileInfo info(target);
    if (info.exists() && !info.isFile())
        return QStringLiteral("%1 ist keine gewöhnliche Datei.").arg(shown(target));
    return {};
}

// A link is replaced by what it points to, not by the file.
QString resolvedTarget(const QString &target)
{
    const QFileInfo info(target);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : target;
}

// "<target>.part" while it is written: only once complete and on the disk
// does it take the target's name, in one rename. Until then the earlier
// file of that name stays whole; a part that is not committed is removed.
class TPartFile {
public:
    explicit TPartFile(QString target) : m_target(std::move(target)), m_part(m_target + QStringLiteral(".part")) {}
    ~TPartFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_committed)
            ::unlink(local(m_part).constData());
        unregisterPartFile(m_part);
    }
    TPartFile(const TPartFile &) = delete;
    TPartFile &operator=(const TPartFile &) = delete;

    // A stale part of that name is removed first.
    QString open(mode_t mode)
    {
        ::unlink(local(m_part).constData());
        m_fd = ::open(local(m_part).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd < 0)
            return writeFailureText(m_part, errno);
        registerPartFile(m_part);
        return {};
    }
    QString write(const QByteArray &data) { return writeAll(m_fd, data) ? QString() : writeFailureText(m_part, errno); }
    // mode, if given, replaces the part's permissions before it is complete.
    QString commit(std::optional<mode_t> mode, const QString &keepReplacedAs)
    {
        if ((mode && ::fchmod(m_fd, *mode) != 0) || ::fsync(m_fd) != 0)
            return writeFailureText(m_part, errno);
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0)
            return writeFailureText(m_part, errno);
        if (const QString failure = replaceFile(m_part, m_target, keepReplacedAs); !failure.isEmpty())
            return failure;
        m_committed = true;
        return {};
    }

private:
    QString m_target;
    QString m_part;
    int m_fd = -1;
    bool m_committed = false;
};

// The target stays under its name until the replacement takes it: a second
// name for the same file, or a copy where links are not possible.
QString keepUnder(const QString &target, const QString &keptName)
{
    if (::link(local(target).constData(), local(keptName).constData()) == 0)
        return {};
    const int error = errno;
    if (error != EXDEV && error != EPERM && error != EMLINK && error != ENOTSUP)
        return writeFailureText(keptName, error);
    if (QFileInfo::exists(keptName))
        return writeFailureText(keptName, EEXIST);
    return copyFileCompletely(target, keptName).failure;
}

} // namespace

QString replaceFile(const QString &replacement, const QString &target, const QString &keepReplacedAs)
{
    if (!keepReplacedAs.isEmpty() && QFileInfo::exists(target))
        if (const QString failure = keepUnder(target, keepReplacedAs); !failure.isEmpty())
            return failure;
    // Checked just before: the target may have been attached meanwhile.
    if (const QString refused = refusedTarget(target); !refused.isEmpty())
        return refused;
    if (::rename(local(replacement).constData(), local(target).constData()) != 0)
        return writeFailureText(target, errno);
    syncFolder(target);
    return {};
}

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
    case EEXIST:
        return QStringLiteral("Die Datei %1 gibt es bereits.").arg(shown(path));
    case EISDIR:
        return QStringLiteral("%1 ist ein Ordner.").arg(shown(path));
    default:
        return QStringLiteral("Die Datei %1 kann nicht geschrieben werden (Systemfehler %2).").arg(shown(path)).arg(error);
    }
}

TFileCopyResult copyFileCompletely(const QString &source, const QString &givenTarget,
                                   const std::function<bool(qint64, qint64)> &progress, const QString &keepReplacedAs)
{
    const QString target = resolvedTarget(givenTarget);
    if (const QString refused = refusedTarget(target); !refused.isEmpty())
        return {refused};
    QFile in(source);
    struct stat sourceStat {};
    if (!in.open(QIODevice::ReadOnly) || ::fstat(in.handle(), &sourceStat) != 0)
        return {QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(shown(source))};
    TPartFile part(target);
    // Private while it is written: it may be a copy of a database.
    if (const QString failure = part.open(0600); !failure.isEmpty())
        return {failure};

    const qint64 total = in.size();
    qint64 done = 0;
    for (;;) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty())
            break;
        if (const QString failure = part.write(chunk); !failure.isEmpty())
            return {failure};
        done += chunk.size();
        if (progress && !progress(done, total))
            return {QStringLiteral("Das Kopieren wurde abgebrochen."), true};
    }
    if (in.error() != QFileDevice::NoError || done != total)
        return {QStringLiteral("Die Datei %1 wurde nicht vollständig gelesen.").arg(shown(source))};
    return {part.commit(sourceStat.st_mode & 0777, keepReplacedAs)};
}

QString writeFileCompletely(const QString &givenTarget, const QByteArray &data)
{
    const QString target = resolvedTarget(givenTarget);
    if (const QString refused = refusedTarget(target); !refused.isEmpty())
        return refused;
    TPartFile part(target);
    // An output gets the permissions any new file gets (the umask applies).
    if (QString failure = part.open(0666); !failure.isEmpty())
        return failure;
    if (QString failure = part.write(data); !failure.isEmpty())
        return failure;
    return part.commit(std::nullopt, {});
}

QString freeKeptName(const QString &path)
{
    const QString first = path + QStringLiteral(".bak");
    QString name = first;
    for (int n = 1; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = first + u'.' + QString::number(n);
    return name;
}

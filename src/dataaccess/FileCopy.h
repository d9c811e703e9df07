#pragma once
#include <QString>
#include <QByteArray>
#include <functional>

// Copies source to target through "<target>.part": a stale part file of
// that name is removed first, the part is private while it is written, is
// flushed to disk and gets the source's permissions (never wider) before it
// takes the target's name in one step. A failed or cancelled copy leaves no
// part and no half target. An existing target is replaced, or first given
// the second name keepReplacedAs (which must not exist), so that the target
// name holds the old or the new file at every moment. A database this
// process has open is never a target.
// progress gets the bytes copied and the total and returns false to cancel.
struct TFileCopyResult {
    QString failure; // empty on success, else the reason in German
    bool cancelled = false;
    bool ok() const { return failure.isEmpty(); }
};
TFileCopyResult copyFileCompletely(const QString &source, const QString &target,
                                   const std::function<bool(qint64 done, qint64 total)> &progress = {},
                                   const QString &keepReplacedAs = {});

// Writes data as target the same way: complete and on the disk, or not at
// all, with an earlier file of that name intact. The failure in German, or
// an empty text.
QString writeFileCompletely(const QString &target, const QByteArray &data);

// Gives a finished file (on the same disk) the target's name in one rename,
// the target first kept under keepReplacedAs when that is given: the
// target's name holds the old or the new file at every moment. The failure
// in German, or an empty text.
QString replaceFile(const QString &replacement, const QString &target, const QString &keepReplacedAs = {});

// "<path>.bak", or the first of "<path>.bak.1", ".bak.2", … that is free:
// a file kept from an earlier replacement is never overwritten.
QString freeKeptName(const QString &path);

// Why a file could not be written, in German, from the system's error number.
QString writeFailureText(const QString &path, int error);

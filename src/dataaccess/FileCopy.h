#pragma once
#include <QString>
#include <functional>

// Copies source to target through "<target>.part": a stale part file of
// that name is removed first, the part is private while it is written, is
// flushed to disk and gets the source's permissions (never wider) before it
// takes the target's name in one step. A failed or cancelled copy leaves no
// part and no half target. An existing target is replaced, or kept under
// keepReplacedAs when that is given.
// progress gets the bytes copied and the total and returns false to cancel.
struct TFileCopyResult {
    QString failure; // empty on success, else the reason in German
    bool cancelled = false;
    bool ok() const { return failure.isEmpty(); }
};
TFileCopyResult copyFileCompletely(const QString &source, const QString &target,
                                   const std::function<bool(qint64 done, qint64 total)> &progress = {},
                                   const QString &keepReplacedAs = {});

// Why a file could not be written, in German, from the system's error number.
QString writeFailureText(const QString &path, int error);

#pragma once
#include <QByteArray>
#include <QString>

// The bytes of an instrument's export, read whole: a device, a pipe or a
// file larger than any export (a disk image chosen by mistake) is refused
// before it is read, instead of filling the memory.
struct TExportFile {
    QByteArray bytes;
    QString failure; // German, empty when read
    bool ok() const { return failure.isEmpty(); }
};

// The largest export read; an instrument's export of a year is a few MB.
constexpr qint64 kLargestExportBytes = 200LL * 1024 * 1024;

// maxBytes: only the beginning (for a preview), or -1 for everything.
TExportFile readExportFile(const QString &path, qint64 maxBytes = -1);

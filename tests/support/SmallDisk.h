#pragma once
// A small tmpfs in a temporary folder (1 MiB unless told), to run out of
// space on purpose or to be made read-only.
// Mounting needs root; mounted() tells whether it worked.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class TSmallDisk {
public:
    explicit TSmallDisk(const QString &size = QStringLiteral("1m"))
    {
        path = m_dir.filePath(QStringLiteral("klein"));
        QDir().mkpath(path);
        m_mounted = QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", path}) == 0;
    }
    ~TSmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {path});
    }
    bool mounted() const { return m_mounted; }
    // A medium nobody may write to any more, not even root.
    bool makeReadOnly() const { return QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", path}) == 0; }
    // Takes what space is left, in a file of its own.
    void fill() const
    {
        QFile filler(path + QStringLiteral("/füller"));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    QStringList files() const { return QDir(path).entryList(QDir::Files); }
    QString path;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

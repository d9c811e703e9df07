#pragma once
// A 1 MiB tmpfs in a temporary folder, to run out of space on purpose.
// Mounting needs root; mounted() tells whether it worked.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class TSmallDisk {
public:
    TSmallDisk()
    {
        path = m_dir.filePath(QStringLiteral("klein"));
        QDir().mkpath(path);
        m_mounted = QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=1m", "tmpfs", path}) == 0;
    }
    ~TSmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {path});
    }
    bool mounted() const { return m_mounted; }
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

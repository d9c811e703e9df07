#include "ProcessMemory.h"
#include <QFile>
#include <malloc.h>

qint64 procStatusKiB(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool resetPeak()
{
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write("5") == 1;
}

QString mib(qint64 kib) { return kib < 0 ? QStringLiteral("?") : QString::number(kib / 1024.0, 'f', 1) + QStringLiteral(" MiB"); }

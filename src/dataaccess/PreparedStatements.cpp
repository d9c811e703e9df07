#include "PreparedStatements.h"
#include <QMutex>

namespace {
QMutex guard;
QStringList *recording = nullptr; // guarded; null while nobody records
} // namespace

PreparedStatements::PreparedStatements()
{
    const QMutexLocker lock(&guard);
    Q_ASSERT(!recording);
    recording = new QStringList;
}

PreparedStatements::~PreparedStatements()
{
    const QMutexLocker lock(&guard);
    delete recording;
    recording = nullptr;
}

QStringList PreparedStatements::texts() const
{
    const QMutexLocker lock(&guard);
    return recording ? *recording : QStringList();
}

void PreparedStatements::note(const QString &text)
{
    const QMutexLocker lock(&guard);
    if (recording && !recording->contains(text))
        recording->append(text);
}

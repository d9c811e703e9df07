#include "PartFiles.h"
#include <QFile>
#include <array>
#include <atomic>
#include <cstring>
#include <limits.h>
#include <unistd.h>

namespace {

// Fixed partSlots: a signal handler may neither allocate nor take a lock.
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX]{};
};
std::array<Slot, 8> partSlots;

} // namespace

void registerPartFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= PATH_MAX)
        return;
    for (Slot &slot : partSlots) {
        if (slot.used.load())
            continue;
        std::memcpy(slot.path, name.constData(), static_cast<size_t>(name.size()) + 1);
        slot.used.store(true);
        return;
    }
}

void unregisterPartFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    for (Slot &slot : partSlots)
        if (slot.used.load() && name == slot.path) {
            slot.used.store(false);
            return;
        }
}

void removeRegisteredPartFiles()
{
    for (Slot &slot : partSlots)
        if (slot.used.load())
            ::unlink(slot.path);
    // A folder fails to unlink above and a file to rmdir here.
    for (Slot &slot : partSlots)
        if (slot.used.load())
            ::rmdir(slot.path);
}

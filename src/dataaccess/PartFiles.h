#pragma once
#include <QString>

// The part files ("<name>.part") being written right now, so that a command
// ended by a signal can remove them from its handler: only what is
// async-signal-safe happens there.
void registerPartFile(const QString &path);
void unregisterPartFile(const QString &path);
// Async-signal-safe: unlinks every registered part file, then removes the
// registered folders that are empty by then (a private folder of such files).
void removeRegisteredPartFiles();

// Registered for as long as it lives.
class TRegisteredPartFile {
public:
    explicit TRegisteredPartFile(QString path) : m_path(std::move(path)) { registerPartFile(m_path); }
    ~TRegisteredPartFile() { unregisterPartFile(m_path); }
    TRegisteredPartFile(const TRegisteredPartFile &) = delete;
    TRegisteredPartFile &operator=(const TRegisteredPartFile &) = delete;

private:
    QString m_path;
};

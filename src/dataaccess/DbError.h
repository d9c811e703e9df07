#pragma once
#include <QList>
#include <QString>
#include <stdexcept>

// A failure of the database or of the record-set layer. The message is the
// engine's own text, unchanged, or a German text of the layer itself.
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString &message, const QList<qint64> &engineCodes = {})
        : std::runtime_error(message.toStdString()), m_message(message), m_engineCodes(engineCodes) {}
    QString message() const { return m_message; }
    // The engine's error codes (isc_…), outermost first; empty for the
    // layer's own errors.
    const QList<qint64> &engineCodes() const { return m_engineCodes; }
    bool hasEngineCode(qint64 code) const { return m_engineCodes.contains(code); }

private:
    QString m_message;
    QList<qint64> m_engineCodes;
};

// A row another workstation changed or deleted since this one read it. The
// message names what is stored now.
class ERecordConflict : public EDatabaseError {
public:
    enum class Kind { Changed, Deleted };
    ERecordConflict(Kind kind, const QString &message) : EDatabaseError(message), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// Throws error again; when the engine gave up waiting for a row another
// workstation holds, with a German first line that says so.
[[noreturn]] void rethrowWithLockWait(const EDatabaseError &error);

// The silent abort: a rule that refused an operation has already told the
// user; every handler lets it pass without a second message.
class EAbort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation abgebrochen"; }
};

[[noreturn]] inline void abortSilently() { throw EAbort(); }

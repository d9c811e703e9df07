#pragma once
#include <QString>
#include <stdexcept>

// A failure of the database or of the record-set layer. The message is the
// engine's own text, unchanged, or a German text of the layer itself.
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The silent abort: a rule that refused an operation has already told the
// user; every handler lets it pass without a second message.
class EAbort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation abgebrochen"; }
};

[[noreturn]] inline void abortSilently() { throw EAbort(); }

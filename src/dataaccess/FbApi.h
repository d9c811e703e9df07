#pragma once
// Thin helpers over the Firebird object-oriented client API: the master
// interface, status handling that turns engine errors into EDatabaseError,
// and owners that release interfaces on every path.
#include <firebird/Interface.h>
#include <QString>
#include <utility>

namespace fb {

Firebird::IMaster *master();
Firebird::IUtil *util();
Firebird::IProvider *provider();

// Makes sure the engine has a lock folder this user may write, before the
// first attach (Debian creates /tmp/firebird for root only).
void ensureLockFolder();
// The folder at path when it is a folder of this user, made private (0700)
// and created if missing; when another user owns it (or it is no folder), a
// private folder "velmora-<uid>-XXXXXX" under the temporary folder instead:
// the one an earlier run made, else a fresh one.
QString privateFolder(const QString &path);
// The engine turns UTF-8 file names into the character set of the process
// locale, while Qt names files in UTF-8 whatever the locale. Under a missing
// locale (LANG=de_DE.UTF-8 not installed) or a non-UTF-8 one every path with
// an umlaut would be refused, so the character type becomes C.UTF-8 then.
void ensureUtf8FileNames();

// A status object that throws Firebird::FbException on error; dispose()d on
// destruction.
class Status {
public:
    Status();
    ~Status();
    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;
    Firebird::ThrowStatusWrapper *operator&() { return &m_wrapper; }
    Firebird::ThrowStatusWrapper *get() { return &m_wrapper; }

private:
    Firebird::ThrowStatusWrapper m_wrapper;
};

QString errorText(const Firebird::FbException &e);
[[noreturn]] void throwDatabaseError(const Firebird::FbException &e);

// Runs f, turning a Firebird exception into EDatabaseError with the engine's
// own message text.
template <typename F> decltype(auto) guarded(F &&f)
{
    try {
        return std::forward<F>(f)();
    } catch (const Firebird::FbException &e) {
        throwDatabaseError(e);
    }
}
// Owns one reference-counted or disposable Firebird interface.
template <typename T> class Ref {
public:
    Ref() = default;
    explicit Ref(T *p) : m_p(p) {}
    ~Ref() { reset(); }
    Ref(Ref &&o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    Ref &operator=(Ref &&o) noexcept
    {
        if (this != &o) {
            reset();
            m_p = std::exchange(o.m_p, nullptr);
        }
        return *this;
    }
    Ref(const Ref &) = delete;
    Ref &operator=(const Ref &) = delete;

    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T *release() { return std::exchange(m_p, nullptr); }
    void reset(T *p = nullptr)
    {
        if (m_p) {
            if constexpr (requires(T *x) { x->release(); })
                m_p->release();
            else
                m_p->dispose();
        }
        m_p = p;
    }

private:
    T *m_p = nullptr;
};

} // namespace fb

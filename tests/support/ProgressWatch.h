#pragma once
// Watching long work from the window's thread: a timer of that thread, which
// fires only while its event loop keeps running during the work, finds the
// progress window once it tells how far the work is.
#include "LongWork.h"
#include <QApplication>
#include <QLabel>
#include <QSemaphore>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

// Records the first "… von …" text a visible progress window shows and
// hands that window to midway (to click in it).
struct ProgressWatch {
    QTimer timer;
    QString seen;
    explicit ProgressWatch(const std::function<void(QWidget *window)> &midway)
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this, midway] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                // The progress window may belong to another window.
                auto *text = w->findChild<QLabel *>("lblFortschritt");
                if (!seen.isEmpty() || !text || !text->window()->isVisible() || !text->text().contains(" von "))
                    continue;
                seen = text->text();
                midway(text->window());
            }
        });
        timer.start();
    }
};

// Wraps the program's runner while it lives. After hold(), the next long
// work stops after its first report until a ProgressWatch has seen the
// progress window show it and midway ran; so a test sees the window
// mid-way however fast the work is.
class HeldLongWork : public ILongWorkRunner {
public:
    HeldLongWork() : m_program(setLongWorkRunner(this)) {}
    ~HeldLongWork() override
    {
        setLongWorkRunner(m_program);
        m_watch.reset();
    }

    void hold(const std::function<void(QWidget *window)> &midway = {})
    {
        m_armed = true;
        m_watch = std::make_unique<ProgressWatch>([this, midway](QWidget *window) {
            if (midway)
                midway(window);
            m_go.release();
        });
    }
    // The text the window showed mid-way; empty when it never showed one.
    QString seen() const { return m_watch ? m_watch->seen : QString(); }

    void run(const QString &title, bool cancellable, const LongWork &work) override
    {
        m_program->run(title, cancellable, [&](const Progress &progress) {
            work([&](const QString &text, qint64 done, qint64 total) {
                progress(text, done, total);
                if (m_armed.exchange(false))
                    m_go.tryAcquire(1, 120000); // never hangs the run for good
            });
        });
    }

private:
    ILongWorkRunner *m_program;
    std::atomic<bool> m_armed = false;
    QSemaphore m_go;
    std::unique_ptr<ProgressWatch> m_watch;
};

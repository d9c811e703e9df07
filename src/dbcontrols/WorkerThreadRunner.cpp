#include "WorkerThreadRunner.h"
#include "ProgressWindow.h"
#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

void WorkerThreadRunner::run(const QString &title, bool cancellable, const LongWork &work)
{
    ProgressWindow window(title, cancellable, QApplication::activeWindow());
    QEventLoop loop;
    std::atomic<bool> stop = false;
    std::atomic<bool> finished = false;
    std::exception_ptr failure;
    QObject::connect(&window, &ProgressWindow::cancelRequested, &window, [&stop] { stop = true; });

    const Progress report = [&](const QString &text, qint64 done, qint64 total) {
        // Reports reach the window through its thread's event queue.
        QMetaObject::invokeMethod(
            &window, [&window, text, done, total] { window.showProgress(text, done, total); }, Qt::QueuedConnection);
        if (cancellable && stop)
            throw EWorkCancelled();
    };
    std::thread worker([&] {
        try {
            work(report);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // Before the window shows, clicks and keys wait: nothing starts twice.
    constexpr int kShowWindow = 1;
    QTimer::singleShot(windowDelay, &loop, [&] {
        if (!finished)
            loop.exit(kShowWindow);
    });
    if (loop.exec(QEventLoop::ExcludeUserInputEvents) == kShowWindow) {
        window.show();
        loop.exec();
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

#include "LongWork.h"
#include <QLocale>

namespace {
ILongWorkRunner *g_runner = nullptr;
}

QString progressText(const QString &doing, qint64 done, qint64 total, const QString &items)
{
    const QLocale locale;
    return QStringLiteral("%1: %2 von %3 %4").arg(doing, locale.toString(done), locale.toString(total), items);
}

void reportEvery(qint64 every, const Progress &progress, const QString &doing, qint64 done, qint64 total,
                 const QString &items)
{
    if (progress && (done % every == 0 || done == total))
        progress(progressText(doing, done, total, items), done, total);
}

void runLongWork(const QString &title, bool cancellable, const LongWork &work)
{
    if (g_runner)
        g_runner->run(title, cancellable, work);
    else
        work([](const QString &, qint64, qint64) {});
}

ILongWorkRunner *setLongWorkRunner(ILongWorkRunner *runner)
{
    ILongWorkRunner *previous = g_runner;
    g_runner = runner;
    return previous;
}

#pragma once
// Long work (an upgrade, a verification, an import) off the window's thread.
// The work tells how far it is through a Progress; the runner the program
// installs shows that in a progress window while the window's thread keeps
// painting, a command-line tool writes it to the terminal, and without a
// runner the work runs right where it is called and tells no one.
#include "DbError.h"
#include <QString>
#include <functional>

// "Datenbank wird aktualisiert: 12.000 von 196.000 Prüfungen", numbers in the
// locale's digit grouping.
QString progressText(const QString &doing, qint64 done, qint64 total, const QString &items);

// Where work reports; the work calls it only where stopping is safe, and a
// report throws EWorkCancelled when the user has asked the work to stop.
using Progress = std::function<void(const QString &text, qint64 done, qint64 total)>;

// Reports done of total in progressText's words at the first, every every-th
// and the last; a loop calls it at each item and pays for a text only then.
void reportEvery(qint64 every, const Progress &progress, const QString &doing, qint64 done, qint64 total,
                 const QString &items);

// The user stopped the work; what it committed so far stays.
class EWorkCancelled : public EAbort {};

using LongWork = std::function<void(const Progress &)>;

class ILongWorkRunner {
public:
    virtual ~ILongWorkRunner() = default;
    // Runs work to its end and rethrows what it threw. cancellable offers
    // "Abbrechen"; it then ends with EWorkCancelled at the next report.
    virtual void run(const QString &title, bool cancellable, const LongWork &work) = 0;
};

// Runs work through the installed runner, or here without reports.
void runLongWork(const QString &title, bool cancellable, const LongWork &work);
// Installs the runner in use and returns the previous one; the caller keeps
// ownership.
ILongWorkRunner *setLongWorkRunner(ILongWorkRunner *runner);

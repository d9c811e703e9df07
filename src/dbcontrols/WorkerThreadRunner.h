#pragma once
// The program's runner of long work: the work runs on a thread of its own
// while the window's thread waits in an event loop, so every window keeps
// painting. A progress window appears when the work takes longer than a
// moment; it is modal, so nothing else can be started meanwhile.
#include "LongWork.h"

class WorkerThreadRunner : public ILongWorkRunner {
public:
    void run(const QString &title, bool cancellable, const LongWork &work) override;

    // Milliseconds the work runs before its window shows; until then user
    // input waits.
    int windowDelay = 300;
};

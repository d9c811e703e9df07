#pragma once
#include "WorkerThreadRunner.h"
#include <QStringList>

// Creates the data module and the windows that live for the whole run, in
// their fixed order, and destroys them in the reverse order. Meanwhile long
// work runs on a worker thread with a progress window.
class TProgram {
public:
    TProgram() = default;
    ~TProgram() { destroy(); }
    TProgram(const TProgram &) = delete;
    TProgram &operator=(const TProgram &) = delete;

    void create();
    void destroy();

private:
    WorkerThreadRunner m_longWork;
    ILongWorkRunner *m_previousLongWork = nullptr;
    bool m_longWorkInstalled = false;
};

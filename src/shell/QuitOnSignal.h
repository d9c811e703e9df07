#pragma once
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM (logout, kill) and SIGINT end the program the normal way instead
// of leaving it on a connection the engine has shut down: the handler only
// writes a byte to a pipe, and a socket notifier runs onSignal on the
// user-interface thread. One instance at a time; the previous handlers come
// back when it is destroyed.
class TQuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit TQuitOnSignal(std::function<void()> onSignal, QObject *parent = nullptr);
    ~TQuitOnSignal() override;
    // A signal came and onSignal ran (also while the program was starting).
    bool requested() const { return m_requested; }

private:
    void readSignal();
    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier; // gone before the pipe closes
    bool m_requested = false;
};

// Ends the program without questions (the session ends, a signal came):
// edits in progress are cancelled, never half-stored, then every window
// closes the normal way and the event loops end.
void endProgramWithoutQuestions();

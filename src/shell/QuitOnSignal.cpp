#include "QuitOnSignal.h"
#include "FbApi.h"
#include "UDM.h"
#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <ibase.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
struct sigaction previousTerm {}, previousInt {};

void writeSignal(int)
{
    const char byte = 1;
    const int kept = errno;
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[0], &byte, 1);
    errno = kept;
}

// The engine's own handler would shut every attachment down on these
// signals; its shutdown asks first, and the program says no.
int refuseEngineShutdown(const int reason, const int, void *)
{
    if (reason == fb_shutrsn_signal && pipeEnds[0] >= 0) {
        writeSignal(0);
        return 1;
    }
    return 0;
}

} // namespace

TQuitOnSignal::TQuitOnSignal(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds);
    m_notifier = std::make_unique<QSocketNotifier>(pipeEnds[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TQuitOnSignal::readSignal);

    // The engine sets its handlers up when it starts; ours come after them.
    fb::provider();
    ISC_STATUS_ARRAY status;
    fb_shutdown_callback(status, refuseEngineShutdown, fb_shut_confirmation, nullptr);

    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm);
    ::sigaction(SIGINT, &action, &previousInt);
}

TQuitOnSignal::~TQuitOnSignal()
{
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::sigaction(SIGINT, &previousInt, nullptr);
    m_notifier.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TQuitOnSignal::readSignal()
{
    char bytes[16];
    while (::read(pipeEnds[1], bytes, sizeof bytes) > 0) {
    }
    m_requested = true;
    if (m_onSignal)
        m_onSignal();
}

void endProgramWithoutQuestions()
{
    if (frmDM)
        frmDM->cancelEdits();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

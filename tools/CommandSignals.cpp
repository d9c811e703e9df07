#include "CommandSignals.h"
#include "FbApi.h"
#include "PartFiles.h"
#include <csignal>
#include <ibase.h>
#include <unistd.h>

namespace {

void endOnSignal(int signal)
{
    removeRegisteredPartFiles();
    static const char said[] = "\nAbgebrochen.\n";
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, said, sizeof said - 1);
    ::_exit(128 + signal);
}

// Should the engine's handler still run, its shutdown is refused.
int refuseEngineShutdown(const int reason, const int, void *) { return reason == fb_shutrsn_signal ? 1 : 0; }

} // namespace

void endCommandsOnSignals()
{
    // The engine sets its handlers up when it starts; ours come after them.
    fb::provider();
    ISC_STATUS_ARRAY status;
    fb_shutdown_callback(status, refuseEngineShutdown, fb_shut_confirmation, nullptr);
    struct sigaction action {};
    action.sa_handler = endOnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

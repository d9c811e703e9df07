#include "TerminalProgress.h"
#include "CommandLine.h"
#include <QElapsedTimer>
#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

struct State {
    bool quiet = false;
    bool lineOpen = false; // a rewritten line without its line end yet
    qsizetype lineLength = 0;
    QElapsedTimer sinceLine;
};

State &state()
{
    static State s;
    return s;
}

constexpr qint64 kLogEveryMs = 5000;

class TerminalRunner : public ILongWorkRunner {
public:
    void run(const QString &, bool, const LongWork &work) override
    {
        const Progress progress = terminalProgress();
        work(progress ? progress : [](const QString &, qint64, qint64) {});
    }
};

} // namespace

void takeQuietOption(QStringList &args)
{
    if (args.removeAll(QStringLiteral("--quiet")) > 0)
        state().quiet = true;
}

bool quiet() { return state().quiet; }

Progress terminalProgress()
{
    if (state().quiet)
        return {};
    const bool terminal = isatty(fileno(stderr)) != 0;
    return [terminal](const QString &text, qint64 done, qint64 total) {
        State &s = state();
        if (terminal) {
            // Spaces wipe what a longer line before left.
            err() << '\r' << text.leftJustified(s.lineLength) << Qt::flush;
            s.lineLength = text.size();
            s.lineOpen = true;
            if (done >= total)
                endProgressLine();
            return;
        }
        if (s.sinceLine.isValid() && s.sinceLine.elapsed() < kLogEveryMs && done < total)
            return;
        err() << text << Qt::endl;
        s.sinceLine.start();
    };
}

void reportLongWorkOnTerminal()
{
    static TerminalRunner runner;
    setLongWorkRunner(&runner);
}

void endProgressLine()
{
    State &s = state();
    if (!s.lineOpen)
        return;
    err() << Qt::endl;
    s.lineOpen = false;
    s.lineLength = 0;
}

} // namespace cli

#pragma once
// Runs a command-line program, as the tests of velmora-db do, and keeps what
// it said.
#include <QProcess>
#include <QStringList>

struct TToolRun {
    int exitCode;
    QString out, err;
};

inline TToolRun runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (p.error() == QProcess::FailedToStart)
        return {127, {}, {}};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// velmora-db of this build.
inline TToolRun velmoraDb(const QStringList &args) { return runTool(QStringLiteral(VELMORA_DB_TOOL), args); }

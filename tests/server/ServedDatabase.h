#pragma once
// The demonstration database on a Firebird server of the test's own,
// brought up to date by its owner and open to the users ANNA and BERND,
// and the other workstations (velmora_workstation processes) that use it.
#include "FirebirdServer.h"
#include "NewDatabase.h"
#include "ToolRun.h"
#include <QProcess>

// velmora-db with a password in the environment (none: null), and no
// terminal to ask on.
inline TToolRun velmoraDbWith(const QStringList &args, const QString &password)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ISC_PASSWORD"));
    if (!password.isNull())
        env.insert(QStringLiteral("ISC_PASSWORD"), password);
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QStringLiteral(VELMORA_DB_TOOL), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

struct TServedDatabase {
    TFirebirdServer server{{QStringLiteral("ANNA"), QStringLiteral("BERND")}};
    QString name; // through the server

    // Empty when the database is served, else what went wrong.
    QString start()
    {
        if (QString failure = server.start(); !failure.isEmpty())
            return failure;
        {
            // Made as a file, then served.
            TDatabase local;
            TTransaction t(&local);
            local.params = connectionParams();
            createVelmoraDatabase(local, server.filePath(QStringLiteral("velmora.fdb")));
            local.close();
        }
        name = server.databaseName(QStringLiteral("velmora.fdb"));
        const QString sysdba = TFirebirdServer::sysdbaPassword();
        const TToolRun upgrade = velmoraDbWith({QStringLiteral("upgrade"), name, QStringLiteral("--user"), QStringLiteral("SYSDBA")}, sysdba);
        if (upgrade.exitCode != 0)
            return upgrade.err;
        for (const QString &user : {QStringLiteral("ANNA"), QStringLiteral("BERND")})
            if (const TToolRun grant = velmoraDbWith({QStringLiteral("grant"), name, user}, sysdba); grant.exitCode != 0)
                return grant.err;
        return {};
    }

    // Another workstation (BERND) starts one command on a customer's devices.
    QProcess *startWorkstation(int kundeId, const QStringList &command, QObject *parent)
    {
        auto *p = new QProcess(parent);
        p->start(QStringLiteral(VELMORA_WORKSTATION),
                 QStringList{name, QStringLiteral("BERND"), TFirebirdServer::passwordOf(QStringLiteral("BERND")),
                             QString::number(kundeId)} +
                     command);
        return p;
    }
    // ... and waits for it: what it printed, or "FEHLER" and its message.
    QString runWorkstation(int kundeId, const QStringList &command)
    {
        std::unique_ptr<QProcess> p(startWorkstation(kundeId, command, nullptr));
        p->waitForFinished(60000);
        const bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        return ok ? QString::fromUtf8(p->readAllStandardOutput()) : QStringLiteral("FEHLER ") + QString::fromUtf8(p->readAllStandardError());
    }
};

// In a test's initTestCase: skips the test, saying why, when the server is
// not installed; else serves the database or fails.
#define VELMORA_SERVE_DATABASE(served)                                                                                 \
    do {                                                                                                               \
        if (!TFirebirdServer::installed())                                                                             \
            QSKIP("Debians Firebird-Server (/usr/sbin/firebird, Paket firebird3.0-server) fehlt; "                     \
                  "scripts/install-deps.sh installiert ihn.");                                                         \
        served = std::make_unique<TServedDatabase>();                                                                  \
        const QString failure = served->start();                                                                       \
        QVERIFY2(failure.isEmpty(), qPrintable(failure));                                                              \
    } while (false)

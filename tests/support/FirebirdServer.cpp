#include "FirebirdServer.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace {

// Plugins, messages and character sets of the installed package.
QString libraryFolder()
{
    const QStringList arches = QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs);
    for (const QString &arch : arches)
        if (QFileInfo::exists(QStringLiteral("/usr/lib/%1/firebird/3.0/plugins").arg(arch)))
            return QStringLiteral("/usr/lib/%1/firebird/3.0").arg(arch);
    return QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
}

QString isql() { return QStringLiteral("/usr/bin/isql-fb"); }

int freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The engine's root for the server and its tools: configuration here,
// plugins, messages and character sets from the installed package.
QProcessEnvironment serverEnvironment(const QString &root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), root);
    env.insert(QStringLiteral("FIREBIRD_LOCK"), root + QStringLiteral("/lock"));
    // File names arrive as UTF-8; the server turns them into its locale's
    // character set, so that locale must be UTF-8 (the test's may be missing).
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("ISC_USER"));
    env.remove(QStringLiteral("ISC_PASSWORD"));
    return env;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

} // namespace

QString TFirebirdServer::binary() { return QStringLiteral("/usr/sbin/firebird"); }

bool TFirebirdServer::installed() { return QFileInfo(binary()).isExecutable() && QFileInfo(isql()).isExecutable(); }

TFirebirdServer::TFirebirdServer(const QStringList &users) : m_users(users) {}

TFirebirdServer::~TFirebirdServer() { stop(); }

QString TFirebirdServer::filePath(const QString &fileName) const { return m_dir.path() + QStringLiteral("/Prüfdaten/") + fileName; }

QString TFirebirdServer::databaseName(const QString &fileName) const
{
    return QStringLiteral("localhost/%1:%2").arg(m_port).arg(filePath(fileName));
}

QString TFirebirdServer::writeConfiguration()
{
    const QString root = m_dir.path();
    QDir(root).mkpath(QStringLiteral("lock"));
    QDir(root).mkpath(QStringLiteral("Prüfdaten"));
    m_port = freeLoopbackPort();
    const QByteArray conf = QStringLiteral("RemoteServicePort = %1\n"
                                           "RemoteBindAddress = 127.0.0.1\n"
                                           "ServerMode = Super\n"
                                           "SecurityDatabase = %2/security3.fdb\n"
                                           "AuthServer = Srp\n"
                                           "UserManager = Srp\n")
                                .arg(m_port)
                                .arg(root)
                                .toUtf8();
    if (!writeFile(root + QStringLiteral("/firebird.conf"), conf) || !writeFile(root + QStringLiteral("/databases.conf"), {}))
        return QStringLiteral("Konfiguration in %1 nicht geschrieben").arg(root);
    const QString library = libraryFolder();
    for (const char *name : {"plugins.conf", "firebird.msg"})
        QFile::copy(library + u'/' + QLatin1String(name), root + u'/' + QLatin1String(name));
    QFile::link(library + QStringLiteral("/plugins"), root + QStringLiteral("/plugins"));
    // The character sets' module is a copy: the engine finds it again by the
    // path it loaded, which a link would change.
    QDir(root).mkpath(QStringLiteral("intl"));
    QFile::copy(library + QStringLiteral("/intl/libfbintl.so"), root + QStringLiteral("/intl/libfbintl.so"));
    return {};
}

// The security database, built by the embedded engine before the server
// runs: SYSDBA and every user with their passwords.
QString TFirebirdServer::createSecurityDatabase()
{
    const QString root = m_dir.path();
    QString script = QStringLiteral("CREATE DATABASE '%1/security3.fdb' USER SYSDBA;\n"
                                    "CREATE USER SYSDBA PASSWORD '%2' USING PLUGIN Srp;\n")
                         .arg(root, sysdbaPassword());
    for (const QString &user : m_users)
        script += QStringLiteral("CREATE USER %1 PASSWORD '%2' USING PLUGIN Srp;\n").arg(user, passwordOf(user));
    script += QStringLiteral("COMMIT;\n");
    QProcess tool;
    tool.setProcessEnvironment(serverEnvironment(root));
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(isql(), {QStringLiteral("-q")});
    tool.write(script.toUtf8());
    tool.closeWriteChannel();
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0 || !QFileInfo::exists(root + QStringLiteral("/security3.fdb")))
        return QStringLiteral("Sicherheitsdatenbank nicht angelegt: ") + QString::fromLocal8Bit(tool.readAll());
    return {};
}

bool TFirebirdServer::waitUntilListening(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        if (m_server->state() != QProcess::Running)
            return false;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(m_port));
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(100);
    }
    return false;
}

QString TFirebirdServer::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("Kein temporärer Ordner");
    if (QString failure = writeConfiguration(); !failure.isEmpty())
        return failure;
    if (QString failure = createSecurityDatabase(); !failure.isEmpty())
        return failure;
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(serverEnvironment(m_dir.path()));
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    // The server must not outlive a test that crashes or is killed.
    m_server->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_server->start(binary(), {});
    if (!m_server->waitForStarted(10000) || !waitUntilListening(20000)) {
        QFile log(m_dir.path() + QStringLiteral("/firebird.log"));
        log.open(QIODevice::ReadOnly);
        const QString text = QString::fromLocal8Bit(m_server->readAll() + log.readAll());
        stop();
        return QStringLiteral("Der Firebird-Server startet nicht: ") + text;
    }
    return {};
}

bool TFirebirdServer::running() const { return m_server && m_server->state() == QProcess::Running; }

void TFirebirdServer::stop()
{
    if (!m_server)
        return;
    if (m_server->state() != QProcess::NotRunning) {
        m_server->kill(); // the server ignores SIGTERM for long; its files are the test's own
        m_server->waitForFinished(10000);
    }
    m_server.reset();
}

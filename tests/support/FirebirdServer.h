#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A Firebird server of the test's own: Debian's /usr/sbin/firebird started
// in a temporary folder with its own configuration, security database and
// passwords, listening on a free loopback port. No system service is used.
// The server is killed when the object goes, and also when the test
// process dies first.
class TFirebirdServer {
public:
    static QString binary(); // /usr/sbin/firebird
    static bool installed();

    // Users (besides SYSDBA) that may log in, each with password name+"-pw".
    explicit TFirebirdServer(const QStringList &users = {});
    ~TFirebirdServer();
    TFirebirdServer(const TFirebirdServer &) = delete;
    TFirebirdServer &operator=(const TFirebirdServer &) = delete;

    // Empty on success, else what went wrong (with the server's log).
    QString start();
    void stop();
    bool running() const;

    static QString sysdbaPassword() { return QStringLiteral("sysdba-pw"); }
    static QString passwordOf(const QString &user) { return user + QStringLiteral("-pw"); }
    int port() const { return m_port; }
    // A file in the server's data folder, and its name through the server.
    QString filePath(const QString &fileName) const;
    QString databaseName(const QString &fileName) const;

private:
    QString writeConfiguration();
    QString createSecurityDatabase();
    bool waitUntilListening(int milliseconds);

    QStringList m_users;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_server;
    int m_port = 0;
};

#pragma once
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

namespace Firebird {
class IAttachment;
class ITransaction;
}
class TTransaction;
class TDataSet;
class TQuery;

// The connection to one Firebird database: a file path opened in-process by
// the embedded engine, or "host:/path" reached through a server.
class TDatabase : public QObject {
    Q_OBJECT
public:
    explicit TDatabase(QObject *parent = nullptr);
    ~TDatabase() override;

    QString databaseName() const { return m_databaseName; }
    // Refused while connected, as the file of an open connection cannot change.
    void setDatabaseName(const QString &name);
    // Lines "user_name=…", "password=…", "lc_ctype=…" for attaching, or the
    // lines of a CREATE DATABASE statement for createDatabase().
    QStringList params;
    int sqlDialect = 3;

    void open();
    void close(); // closes every record set and ends the transaction first
    bool connected() const { return m_attachment != nullptr; }

    // Creates the file from params as CREATE DATABASE lines ("USER 'x'",
    // "PASSWORD 'y'", "DEFAULT CHARACTER SET cs", "PAGE_SIZE n"; comments
    // are ignored) and leaves the connection attached to it.
    void createDatabase();
    // The statement that createDatabase() carries out, as text.
    QString createDatabaseStatement() const;

    TTransaction *defaultTransaction() const { return m_defaultTransaction; }
    void setDefaultTransaction(TTransaction *transaction) { m_defaultTransaction = transaction; }

    std::function<void(TDatabase &)> afterConnect;
    std::function<void(TDatabase &)> afterDisconnect;

signals:
    // The connection is about to close; listeners let go of it now.
    void aboutToClose();

public:

    Firebird::IAttachment *attachment() const { return m_attachment; }
    bool isLocalFile() const { return !isServerName(m_databaseName); }
    // Several workstations may change the data of a server connection.
    bool isServer() const { return isServerName(m_databaseName); }
    // "host:/path", "host/port:/path" or "host:C:\path"; a plain path or one
    // with a drive letter ("C:\…") names a local file.
    static bool isServerName(const QString &name);

    // Record sets, queries and transactions register themselves so that a
    // disconnect can close them.
    const QList<TDataSet *> &dataSets() const { return m_dataSets; }
    void registerDataSet(TDataSet *dataSet);
    void unregisterDataSet(TDataSet *dataSet);
    void registerTransaction(TTransaction *transaction);
    void unregisterTransaction(TTransaction *transaction);
    void registerQuery(TQuery *query);
    void unregisterQuery(TQuery *query);

private:
    void attachWith(const QByteArray &dpb, bool create);
    QByteArray buildAttachDpb() const;
    QByteArray buildCreateDpb() const;

    QString m_databaseName;
    Firebird::IAttachment *m_attachment = nullptr;
    TTransaction *m_defaultTransaction = nullptr;
    QList<TDataSet *> m_dataSets;
    QList<TTransaction *> m_transactions;
    QList<TQuery *> m_queries;
};

// The one read-write transaction. Over a local file it takes the engine's
// default (a snapshot); through a server it reads committed record versions,
// so other workstations' work shows at the next read, and gives up waiting
// for a row another workstation holds after lockTimeoutSeconds.
class TTransaction : public QObject {
    Q_OBJECT
public:
    explicit TTransaction(TDatabase *database, QObject *parent = nullptr);
    ~TTransaction() override;

    TDatabase *database() const { return m_database; }
    static constexpr int lockTimeoutSeconds = 5;
    void start(); // nothing happens when it is active
    void commit();
    void commitRetaining(); // keeps the transaction and its context
    void rollback();
    // A savepoint of the one name the layer uses, and the way back to it:
    // the work after it is undone, the transaction and its context stay.
    void setSavepoint();
    void rollbackToSavepoint();
    bool active() const { return m_transaction != nullptr; }
    Firebird::ITransaction *handle() const { return m_transaction; }

    // Drops the handle without talking to the engine (the attachment is gone).
    void forget();
    // Runs a statement as the engine reads it, without the query layer's
    // named parameters: savepoints, and procedure bodies that name their
    // own variables as ":NAME".
    void execute(const char *sql);

private:
    static QByteArray sharedTpb();
    QPointer<TDatabase> m_database;
    Firebird::ITransaction *m_transaction = nullptr;
};

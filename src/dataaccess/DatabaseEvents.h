#pragma once
#include <QObject>
#include <QStringList>
#include <QByteArray>

class TDatabase;
class TEventCallback;
namespace Firebird {
class IEvents;
}

// Listens for Firebird events (POST_EVENT in a trigger) on a connection and
// reports the names that were posted, on the user-interface thread. Each
// commit of another attachment that posts one of the names fires once.
// Stops when the connection closes.
class TDatabaseEvents : public QObject {
    Q_OBJECT
public:
    TDatabaseEvents(TDatabase *database, const QStringList &names, QObject *parent = nullptr);
    ~TDatabaseEvents() override;

    void start(); // on the connected database; nothing happens when listening
    void stop();
    bool listening() const { return m_events != nullptr; }

signals:
    void posted(const QStringList &names);

private:
    void queue();
    // Called by the engine's thread through the event loop.
    Q_INVOKABLE void deliver(const QByteArray &buffer);
    QByteArray initialBuffer() const;

    TDatabase *m_database;
    QStringList m_names;
    QByteArray m_buffer; // the counts as last seen
    TEventCallback *m_callback = nullptr;
    Firebird::IEvents *m_events = nullptr;
};

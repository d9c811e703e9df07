#include "DatabaseEvents.h"
#include "Database.h"
#include "DbError.h"
#include "FbApi.h"
#include <QMetaObject>
#include <QMutex>
#include <QPointer>
#include <atomic>

using namespace Firebird;

// The engine calls back on a thread of its own: the buffer is copied and
// handed to the listener's thread; a stopped listener is never reached.
class TEventCallback : public IEventCallbackImpl<TEventCallback, ThrowStatusWrapper> {
public:
    explicit TEventCallback(TDatabaseEvents *target) : m_target(target) {}

    void addRef() override { ++m_refs; }
    int release() override
    {
        const int left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    void eventCallbackFunction(unsigned length, const unsigned char *events) override
    {
        const QByteArray buffer(reinterpret_cast<const char *>(events), static_cast<qsizetype>(length));
        QMutexLocker lock(&m_mutex);
        if (!m_target)
            return;
        QMetaObject::invokeMethod(m_target, "deliver", Qt::QueuedConnection, Q_ARG(QByteArray, buffer));
    }
    void detach()
    {
        QMutexLocker lock(&m_mutex);
        m_target = nullptr;
    }

private:
    std::atomic<int> m_refs{1};
    QMutex m_mutex;
    QPointer<QObject> m_target;
};

namespace {

constexpr int kEventBlockVersion = 1; // EPB_version1 of the classic API

// The counts of an event parameter block: version byte, then per name its
// length, the name and a 32-bit count (little-endian).
QList<quint32> countsOf(const QByteArray &buffer)
{
    QList<quint32> counts;
    qsizetype at = 1;
    while (at < buffer.size()) {
        const auto length = static_cast<quint8>(buffer[at]);
        at += 1 + length;
        if (at + 4 > buffer.size())
            break;
        quint32 n = 0;
        for (int i = 3; i >= 0; --i)
            n = (n << 8) | static_cast<quint8>(buffer[at + i]);
        counts << n;
        at += 4;
    }
    return counts;
}

} // namespace

TDatabaseEvents::TDatabaseEvents(TDatabase *database, const QStringList &names, QObject *parent)
    : QObject(parent), m_database(database), m_names(names)
{
    connect(database, &TDatabase::aboutToClose, this, &TDatabaseEvents::stop);
}

TDatabaseEvents::~TDatabaseEvents() { stop(); }

QByteArray TDatabaseEvents::initialBuffer() const
{
    QByteArray buffer(1, char(kEventBlockVersion));
    for (const QString &name : m_names) {
        const QByteArray bytes = name.toLatin1();
        buffer += char(bytes.size());
        buffer += bytes;
        buffer += QByteArray(4, '\0');
    }
    return buffer;
}

void TDatabaseEvents::start()
{
    if (listening() || !m_database->connected())
        return;
    m_buffer = initialBuffer();
    m_callback = new TEventCallback(this);
    queue();
}

void TDatabaseEvents::queue()
{
    fb::Status status;
    fb::guarded([&] {
        m_events = m_database->attachment()->queEvents(&status, m_callback, static_cast<unsigned>(m_buffer.size()),
                                                        reinterpret_cast<const unsigned char *>(m_buffer.constData()));
    });
}

void TDatabaseEvents::stop()
{
    if (m_events) {
        IEvents *events = std::exchange(m_events, nullptr);
        try {
            fb::Status status;
            events->cancel(&status); // releases the interface on success
        } catch (const FbException &) {
            events->release();
        }
    }
    if (m_callback) {
        m_callback->detach();
        std::exchange(m_callback, nullptr)->release();
    }
}

void TDatabaseEvents::deliver(const QByteArray &buffer)
{
    // An empty delivery tells of a request that was cancelled or let go.
    if (!m_events || buffer.isEmpty())
        return;
    // A delivery ends this request; the next one starts from the new counts.
    std::exchange(m_events, nullptr)->release();
    const QList<quint32> before = countsOf(m_buffer);
    const QList<quint32> after = countsOf(buffer);
    QStringList fired;
    for (qsizetype i = 0; i < m_names.size() && i < after.size() && i < before.size(); ++i)
        if (after[i] != before[i])
            fired << m_names[i];
    if (buffer.size() == m_buffer.size())
        m_buffer = buffer;
    try {
        queue();
    } catch (const EDatabaseError &) {
        stop(); // the connection is gone; its close or the next connect says so
    }
    if (!fired.isEmpty())
        emit posted(fired);
}

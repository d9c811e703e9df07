#include "ConnectionLoss.h"
#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <ibase.h>

namespace {

QMutex handlerGuard;
std::function<void()> &handler()
{
    static std::function<void()> h;
    return h;
}

} // namespace

bool isConnectionLoss(const QList<qint64> &engineCodes)
{
    for (const qint64 code : {qint64(isc_net_read_err), qint64(isc_net_write_err), qint64(isc_lost_db_connection),
                              qint64(isc_conn_lost), qint64(isc_att_shutdown)})
        if (engineCodes.contains(code))
            return true;
    return false;
}

QString connectionLossText()
{
    return QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen. Es wurde nichts gespeichert; "
                          "die Eingaben bleiben im Fenster. Bitte die Verbindung prüfen und über "
                          "„Datenbank → Verbindung“ neu verbinden.");
}

void setConnectionLossHandler(std::function<void()> h)
{
    QMutexLocker lock(&handlerGuard);
    handler() = std::move(h);
}

void reportConnectionLoss()
{
    std::function<void()> h;
    {
        QMutexLocker lock(&handlerGuard);
        h = handler();
    }
    // Long work runs on threads of its own; the state is shown by the
    // main thread, after the message of the failed step.
    if (h && QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(h), Qt::QueuedConnection);
}

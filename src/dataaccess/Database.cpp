#include "Database.h"
#include "HeldFiles.h"
#include "DataSet.h"
#include "DbError.h"
#include "FbApi.h"
#include "ConnectionText.h"
#include "Query.h"
#include "ReadOnlyConnection.h"
#include <QRegularExpression>

using namespace Firebird;

namespace {

QString notConnectedText() { return QStringLiteral("Die Datenbank ist nicht verbunden."); }

// A server that takes the connection but never answers is given up after
// this long instead of the client's default of three minutes.
constexpr int kServerConnectTimeoutSeconds = 15;

// Adds "Providers=Engine12" for a local file, so that a failing open never
// falls through to a server on the loopback network; a server gets a connect
// timeout. The file name travels as UTF-8: a Latin-1 name cannot reach a
// folder like /home/jürgen.
void addFileConfig(IXpbBuilder *dpb, fb::Status &status, bool local)
{
    dpb->insertTag(&status, isc_dpb_utf8_filename);
    if (local)
        dpb->insertString(&status, isc_dpb_config, "Providers=Engine12");
    else
        dpb->insertInt(&status, isc_dpb_connect_timeout, kServerConnectTimeoutSeconds);
}

QByteArray bytesOf(IXpbBuilder *builder, fb::Status &status)
{
    return QByteArray(reinterpret_cast<const char *>(builder->getBuffer(&status)),
                      static_cast<qsizetype>(builder->getBufferLength(&status)));
}

// A snapshot that may only read: the engine refuses a write through it.
QByteArray readOnlyTpb()
{
    fb::Status status;
    return fb::guarded([&] {
        fb::Ref<IXpbBuilder> tpb(fb::util()->getXpbBuilder(&status, IXpbBuilder::TPB, nullptr, 0));
        tpb->insertTag(&status, isc_tpb_read);
        tpb->insertTag(&status, isc_tpb_concurrency);
        tpb->insertTag(&status, isc_tpb_wait);
        return bytesOf(tpb.get(), status);
    });
}

} // namespace

TDatabase::TDatabase(QObject *parent) : QObject(parent) {}

TDatabase::~TDatabase()
{
    try {
        close();
    } catch (...) {
        // The engine refused to detach cleanly; the attachment is released anyway.
    }
    for (TDataSet *d : std::as_const(m_dataSets))
        d->databaseDestroyed();
    for (TQuery *q : std::as_const(m_queries))
        q->databaseDestroyed();
}

void TDatabase::setDatabaseName(const QString &name)
{
    if (connected() && name != m_databaseName)
        throw EDatabaseError(QStringLiteral("Der Datenbankpfad kann bei bestehender Verbindung nicht geändert werden."));
    m_databaseName = name;
}

bool TDatabase::isServerName(const QString &name)
{
    // "C:\…" is a drive letter; "host:/path" or "host:C:\…" names a server.
    const qsizetype colon = name.indexOf(u':');
    return colon > 1;
}

QByteArray TDatabase::buildAttachDpb() const
{
    fb::Status status;
    return fb::guarded([&] {
        fb::Ref<IXpbBuilder> dpb(fb::util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0));
        for (const QString &line : params) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq < 0)
                continue;
            const QString key = line.left(eq).trimmed().toLower();
            const QByteArray value = connectionText::encode(line.mid(eq + 1).trimmed());
            if (key == u"user_name")
                dpb->insertString(&status, isc_dpb_user_name, value.constData());
            else if (key == u"password")
                dpb->insertString(&status, isc_dpb_password, value.constData());
            else if (key == u"lc_ctype")
                dpb->insertString(&status, isc_dpb_lc_ctype, value.constData());
            else if (key == u"sql_role_name")
                dpb->insertString(&status, isc_dpb_sql_role_name, value.constData());
        }
        dpb->insertInt(&status, isc_dpb_sql_dialect, sqlDialect);
        addFileConfig(dpb.get(), status, isLocalFile());
        return bytesOf(dpb.get(), status);
    });
}

QString TDatabase::createDatabaseStatement() const
{
    QString text = QStringLiteral("CREATE DATABASE '") + m_databaseName + QStringLiteral("' ");
    for (const QString &line : params)
        text += line + u'\n';
    return text;
}

QByteArray TDatabase::buildCreateDpb() const
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"));
    static const QRegularExpression clause(
        QStringLiteral("^\\s*(USER|PASSWORD|DEFAULT\\s+CHARACTER\\s+SET|PAGE_SIZE)\\s*=?\\s*'?([^'\\s]+)'?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    fb::Status status;
    return fb::guarded([&] {
        fb::Ref<IXpbBuilder> dpb(fb::util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0));
        for (QString line : params) {
            line.remove(comment);
            if (line.trimmed().isEmpty())
                continue;
            const auto m = clause.match(line);
            if (!m.hasMatch())
                throw EDatabaseError(QStringLiteral("Unbekannte Angabe beim Erzeugen der Datenbank: %1").arg(line.trimmed()));
            const QString key = m.captured(1).toUpper().simplified();
            const QByteArray value = connectionText::encode(m.captured(2));
            if (key == u"USER")
                dpb->insertString(&status, isc_dpb_user_name, value.constData());
            else if (key == u"PASSWORD")
                dpb->insertString(&status, isc_dpb_password, value.constData());
            else if (key == u"PAGE_SIZE")
                dpb->insertInt(&status, isc_dpb_page_size, value.toInt());
            else
                dpb->insertString(&status, isc_dpb_set_db_charset, value.constData());
        }
        dpb->insertInt(&status, isc_dpb_sql_dialect, sqlDialect);
        addFileConfig(dpb.get(), status, isLocalFile());
        return bytesOf(dpb.get(), status);
    });
}

void TDatabase::attachWith(const QByteArray &dpb, bool create)
{
    const QByteArray path = m_databaseName.toUtf8();
    fb::Status status;
    fb::guarded([&] {
        const auto *bytes = reinterpret_cast<const unsigned char *>(dpb.constData());
        m_attachment = create
            ? fb::provider()->createDatabase(&status, path.constData(), static_cast<unsigned>(dpb.size()), bytes)
            : fb::provider()->attachDatabase(&status, path.constData(), static_cast<unsigned>(dpb.size()), bytes);
    });
    if (isLocalFile())
        holdFile(m_databaseName);
    if (afterConnect)
        afterConnect(*this);
}

void TDatabase::open()
{
    if (connected())
        return;
    if (m_databaseName.isEmpty())
        throw EDatabaseError(QStringLiteral("Es ist keine Datenbankdatei angegeben."));
    attachWith(buildAttachDpb(), false);
}

void TDatabase::createDatabase()
{
    if (connected())
        throw EDatabaseError(QStringLiteral("Die Verbindung ist bereits geöffnet."));
    if (m_databaseName.isEmpty())
        throw EDatabaseError(QStringLiteral("Es ist keine Datenbankdatei angegeben."));
    attachWith(buildCreateDpb(), true);
}

void TDatabase::close()
{
    if (!connected())
        return;
    emit aboutToClose();
    for (TDataSet *d : QList<TDataSet *>(m_dataSets))
        d->close();
    for (TQuery *q : QList<TQuery *>(m_queries))
        q->unprepare();
    for (TTransaction *t : QList<TTransaction *>(m_transactions)) {
        if (!t->active())
            continue;
        try {
            t->commit();
        } catch (const EDatabaseError &) {
            try {
                t->rollback();
            } catch (const EDatabaseError &) {
                t->forget();
            }
        }
    }
    IAttachment *attachment = std::exchange(m_attachment, nullptr);
    if (isLocalFile())
        releaseFile(m_databaseName);
    try {
        fb::Status status;
        attachment->detach(&status); // releases the interface on success
    } catch (const FbException &) {
        attachment->release();
    }
    if (afterDisconnect)
        afterDisconnect(*this);
}

void TDatabase::registerDataSet(TDataSet *d) { m_dataSets.append(d); }
void TDatabase::unregisterDataSet(TDataSet *d) { m_dataSets.removeAll(d); }
void TDatabase::registerTransaction(TTransaction *t) { m_transactions.append(t); }
void TDatabase::unregisterTransaction(TTransaction *t) { m_transactions.removeAll(t); }
void TDatabase::registerQuery(TQuery *q) { m_queries.append(q); }
void TDatabase::unregisterQuery(TQuery *q) { m_queries.removeAll(q); }

// --- TTransaction ---------------------------------------------------------

TTransaction::TTransaction(TDatabase *database, QObject *parent) : QObject(parent), m_database(database)
{
    m_database->registerTransaction(this);
    if (!m_database->defaultTransaction())
        m_database->setDefaultTransaction(this);
}

TTransaction::~TTransaction()
{
    if (active()) {
        try {
            rollback();
        } catch (...) {
            forget();
        }
    }
    if (m_database) {
        m_database->unregisterTransaction(this);
        if (m_database->defaultTransaction() == this)
            m_database->setDefaultTransaction(nullptr);
    }
}

void TTransaction::start()
{
    if (active())
        return;
    if (!m_database->connected())
        throw EDatabaseError(notConnectedText());
    const QByteArray tpb = isReadOnly(*m_database) ? readOnlyTpb() : m_database->isServer() ? sharedTpb() : QByteArray();
    fb::Status status;
    fb::guarded([&] {
        m_transaction = m_database->attachment()->startTransaction(
            &status, static_cast<unsigned>(tpb.size()), reinterpret_cast<const unsigned char *>(tpb.constData()));
    });
}

QByteArray TTransaction::sharedTpb()
{
    fb::Status status;
    return fb::guarded([&] {
        fb::Ref<IXpbBuilder> tpb(fb::util()->getXpbBuilder(&status, IXpbBuilder::TPB, nullptr, 0));
        tpb->insertTag(&status, isc_tpb_write);
        tpb->insertTag(&status, isc_tpb_read_committed);
        tpb->insertTag(&status, isc_tpb_rec_version);
        tpb->insertTag(&status, isc_tpb_wait);
        tpb->insertInt(&status, isc_tpb_lock_timeout, lockTimeoutSeconds);
        return bytesOf(tpb.get(), status);
    });
}

void TTransaction::commit()
{
    if (!active())
        return;
    TQuery::closeCursorsOf(this);
    fb::Status status;
    fb::guarded([&] { m_transaction->commit(&status); });
    m_transaction = nullptr; // commit released the interface
}

void TTransaction::commitRetaining()
{
    if (!active())
        throw EDatabaseError(QStringLiteral("Die Transaktion ist nicht aktiv."));
    fb::Status status;
    fb::guarded([&] { m_transaction->commitRetaining(&status); });
}

void TTransaction::rollback()
{
    if (!active())
        return;
    TQuery::closeCursorsOf(this);
    fb::Status status;
    fb::guarded([&] { m_transaction->rollback(&status); });
    m_transaction = nullptr;
}

void TTransaction::execute(const char *sql)
{
    fb::Status status;
    fb::guarded([&] {
        m_database->attachment()->execute(&status, m_transaction, 0, sql, static_cast<unsigned>(m_database->sqlDialect),
                                          nullptr, nullptr, nullptr, nullptr);
    });
}

void TTransaction::setSavepoint()
{
    start();
    execute("SAVEPOINT VELMORA_AENDERUNG");
}

void TTransaction::rollbackToSavepoint()
{
    if (!active())
        throw EDatabaseError(QStringLiteral("Die Transaktion ist nicht aktiv."));
    execute("ROLLBACK TO SAVEPOINT VELMORA_AENDERUNG");
}

void TTransaction::forget()
{
    if (m_transaction)
        m_transaction->release();
    m_transaction = nullptr;
}

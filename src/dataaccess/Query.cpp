#include "Query.h"
#include "Database.h"
#include "DbError.h"
#include "FbApi.h"
#include "ConnectionText.h"
#include "PreparedStatements.h"
#include <QMutex>
#include <cstring>

using namespace Firebird;

namespace {
// Every query of the process; long work makes and drops its queries on a
// thread of its own meanwhile.
struct AllQueries {
    QMutex mutex;
    QList<TQuery *> list;
};

AllQueries &allQueries()
{
    static AllQueries all;
    return all;
}

constexpr int kTextSubType = 1;
constexpr unsigned kBlobSegment = 65535;

enum class Decode : quint8 { Int64, Double, Text, Varying, Timestamp, Date, Time, Blob, Boolean, Other };

// Character set OCTETS: bytes, not text.
constexpr unsigned kOctets = 1;

struct OutColumn {
    Decode kind;
    bool binary; // OCTETS text or a BLOB that is not text
    int scale;
    unsigned offset;
    unsigned nullOffset;
    unsigned length;
};

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }
} // namespace

QString replaceNamedParams(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype end = sql.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end + 1;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? n : end;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u':' && i + 1 < n && isNameChar(sql.at(i + 1))) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql.at(j)))
                ++j;
            names->append(sql.mid(i + 1, j - i - 1));
            out += u'?';
            i = j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

bool TColumnInfo::isText() const { return sqlType == SQL_TEXT || sqlType == SQL_VARYING; }
bool TColumnInfo::isBlob() const { return sqlType == SQL_BLOB; }
bool TColumnInfo::isExactNumber() const { return sqlType == SQL_SHORT || sqlType == SQL_LONG || sqlType == SQL_INT64; }
bool TColumnInfo::isTimestamp() const { return sqlType == SQL_TIMESTAMP || sqlType == SQL_TYPE_DATE; }

struct TQuery::Impl {
    IStatement *statement = nullptr;
    IResultSet *cursor = nullptr;
    IMessageMetadata *outMeta = nullptr;
    std::vector<OutColumn> out;
    std::vector<unsigned char> outBuffer;
    unsigned statementType = 0;
    fb::Status fetchStatus; // reused for every row

    void releaseCursor()
    {
        if (!cursor)
            return;
        try {
            fb::Status status;
            cursor->close(&status);
        } catch (const FbException &) {
            cursor->release();
        }
        cursor = nullptr;
    }

    void releaseStatement()
    {
        releaseCursor();
        if (outMeta)
            outMeta->release();
        outMeta = nullptr;
        if (statement) {
            try {
                fb::Status status;
                statement->free(&status);
            } catch (const FbException &) {
                statement->release();
            }
        }
        statement = nullptr;
        out.clear();
    }
};

TQuery::TQuery(TDatabase *database, TTransaction *transaction, QObject *parent)
    : QObject(parent), m_database(database), m_transaction(transaction), d(std::make_unique<Impl>())
{
    m_database->registerQuery(this);
    AllQueries &all = allQueries();
    const QMutexLocker lock(&all.mutex);
    all.list.append(this);
}

TQuery::~TQuery()
{
    unprepare();
    {
        AllQueries &all = allQueries();
        const QMutexLocker lock(&all.mutex);
        all.list.removeAll(this);
    }
    if (m_database)
        m_database->unregisterQuery(this);
}

TTransaction *TQuery::transaction() const
{
    return m_transaction ? m_transaction.data() : (m_database ? m_database->defaultTransaction() : nullptr);
}

void TQuery::databaseDestroyed()
{
    d->statement = nullptr; // went with the attachment
    d->cursor = nullptr;
    m_database = nullptr;
}

void TQuery::setSql(const QStringList &lines)
{
    unprepare();
    m_sql = lines;
    // Parameters are known from the text at once, so that they can be set
    // before the statement is prepared.
    QStringList names;
    replaceNamedParams(m_sql.join(u'\n'), &names);
    std::vector<TParam> params;
    m_paramSlots.clear();
    for (const QString &name : std::as_const(names)) {
        int index = -1;
        for (size_t i = 0; i < params.size(); ++i)
            if (params[i].name().compare(name, Qt::CaseInsensitive) == 0)
                index = static_cast<int>(i);
        if (index < 0) {
            index = static_cast<int>(params.size());
            const TParam *old = findParam(name);
            params.push_back(old ? *old : TParam(name));
        }
        m_paramSlots.push_back(index);
    }
    m_params = std::move(params);
}

void TQuery::addLine(const QString &line)
{
    QStringList lines = m_sql;
    lines.append(line);
    setSql(lines);
}

bool TQuery::prepared() const { return d->statement != nullptr; }
bool TQuery::isOpen() const { return d->cursor != nullptr; }

void TQuery::ensureTransaction()
{
    if (!m_database || !m_database->connected())
        throw EDatabaseError(QStringLiteral("Die Datenbank ist nicht verbunden."));
    TTransaction *t = transaction();
    if (!t)
        throw EDatabaseError(QStringLiteral("Der Abfrage ist keine Transaktion zugeordnet."));
    if (!t->active()) {
        if (!autoStartTransaction)
            throw EDatabaseError(QStringLiteral("Die Transaktion ist nicht aktiv."));
        t->start();
    }
}

void TQuery::prepare()
{
    if (prepared())
        return;
    ensureTransaction();
    QStringList names;
    const QString sql = replaceNamedParams(m_sql.join(u'\n'), &names);
    PreparedStatements::note(sql);
    const QByteArray text = connectionText::encode(sql);
    fb::Status status;
    fb::guarded([&] {
        d->statement = m_database->attachment()->prepare(&status, transaction()->handle(), 0, text.constData(),
                                                         static_cast<unsigned>(m_database->sqlDialect),
                                                         IStatement::PREPARE_PREFETCH_METADATA);
        d->statementType = d->statement->getType(&status);
        fb::Ref<IMessageMetadata> meta(d->statement->getOutputMetadata(&status));
        const unsigned count = meta->getCount(&status);
        fb::Ref<IMetadataBuilder> builder(meta->getBuilder(&status));
        m_columns.clear();
        for (unsigned i = 0; i < count; ++i) {
            TColumnInfo info;
            info.name = QString::fromUtf8(meta->getAlias(&status, i));
            info.relation = QString::fromUtf8(meta->getRelation(&status, i));
            info.sqlType = static_cast<int>(meta->getType(&status, i) & ~1u);
            info.scale = meta->getScale(&status, i);
            info.length = static_cast<int>(meta->getLength(&status, i));
            info.subType = meta->getSubType(&status, i);
            m_columns.push_back(info);
            // Exact numbers of any width come as 64-bit integers with their
            // scale, floating numbers as doubles.
            if (info.isExactNumber())
                builder->setType(&status, i, SQL_INT64 | 1), builder->setLength(&status, i, 8),
                    builder->setScale(&status, i, info.scale);
            else if (info.sqlType == SQL_FLOAT || info.sqlType == SQL_D_FLOAT)
                builder->setType(&status, i, SQL_DOUBLE | 1), builder->setLength(&status, i, 8);
        }
        d->outMeta = builder->getMetadata(&status);
        d->outBuffer.assign(d->outMeta->getMessageLength(&status), 0);
        d->out.clear();
        for (unsigned i = 0; i < count; ++i) {
            OutColumn c{};
            const unsigned type = d->outMeta->getType(&status, i) & ~1u;
            c.offset = d->outMeta->getOffset(&status, i);
            c.nullOffset = d->outMeta->getNullOffset(&status, i);
            c.length = d->outMeta->getLength(&status, i);
            c.scale = d->outMeta->getScale(&status, i);
            c.binary = type == SQL_BLOB ? d->outMeta->getSubType(&status, i) != kTextSubType
                                        : d->outMeta->getCharSet(&status, i) == kOctets;
            switch (type) {
            case SQL_INT64: c.kind = Decode::Int64; break;
            case SQL_DOUBLE: c.kind = Decode::Double; break;
            case SQL_TEXT: c.kind = Decode::Text; break;
            case SQL_VARYING: c.kind = Decode::Varying; break;
            case SQL_TIMESTAMP: c.kind = Decode::Timestamp; break;
            case SQL_TYPE_DATE: c.kind = Decode::Date; break;
            case SQL_TYPE_TIME: c.kind = Decode::Time; break;
            case SQL_BLOB: c.kind = Decode::Blob; break;
            case SQL_BOOLEAN: c.kind = Decode::Boolean; break;
            default: c.kind = Decode::Other; break;
            }
            d->out.push_back(c);
        }
    });
}

void TQuery::unprepare()
{
    d->releaseStatement();
    m_eof = true;
}

TParam &TQuery::param(int index)
{
    if (index < 0 || index >= paramCount())
        throw EDatabaseError(QStringLiteral("Parameter %1 existiert nicht.").arg(index));
    return m_params[static_cast<size_t>(index)];
}

TParam *TQuery::findParam(const QString &name)
{
    for (TParam &p : m_params)
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

TParam &TQuery::paramByName(const QString &name)
{
    if (TParam *p = findParam(name))
        return *p;
    throw EDatabaseError(QStringLiteral("Parameter '%1' existiert nicht.").arg(name));
}

QStringList TQuery::paramNames() const
{
    QStringList names;
    for (const TParam &p : m_params)
        names << p.name();
    return names;
}

bool TQuery::returnsRows() const
{
    return d->statementType == isc_info_sql_stmt_select || d->statementType == isc_info_sql_stmt_select_for_upd;
}

namespace {

// Writes a text BLOB in segments and returns its id.
ISC_QUAD writeBlob(IAttachment *attachment, ITransaction *transaction, const QByteArray &bytes, fb::Status &status)
{
    ISC_QUAD id{};
    IBlob *blob = attachment->createBlob(&status, transaction, &id, 0, nullptr);
    try {
        for (qsizetype at = 0; at < bytes.size(); at += kBlobSegment) {
            const auto len = static_cast<unsigned>(qMin<qsizetype>(kBlobSegment, bytes.size() - at));
            blob->putSegment(&status, len, bytes.constData() + at);
        }
        blob->close(&status);
    } catch (...) {
        blob->release();
        throw;
    }
    return id;
}

} // namespace

void TQuery::execQuery()
{
    close();
    prepare();
    ensureTransaction();
    ITransaction *tr = transaction()->handle();
    fb::Status status;
    fb::guarded([&] {
        fb::Ref<IMessageMetadata> inMeta(d->statement->getInputMetadata(&status));
        const unsigned count = inMeta->getCount(&status);
        if (count != m_paramSlots.size())
            throw EDatabaseError(QStringLiteral("Die Anweisung erwartet %1 Parameter, der Text nennt %2.")
                                     .arg(count).arg(m_paramSlots.size()));
        fb::Ref<IMetadataBuilder> builder(inMeta->getBuilder(&status));
        std::vector<QByteArray> texts(count);
        std::vector<ISC_QUAD> blobs(count);
        for (unsigned i = 0; i < count; ++i) {
            const TValue &v = m_params[static_cast<size_t>(m_paramSlots[i])].value();
            const unsigned original = inMeta->getType(&status, i) & ~1u;
            if (const auto *s = std::get_if<QString>(&v)) {
                const bool binary = original == SQL_BLOB ? inMeta->getSubType(&status, i) != kTextSubType
                                                         : inMeta->getCharSet(&status, i) == kOctets;
                texts[i] = binary ? connectionText::encodeBinary(*s) : connectionText::encode(*s);
                if (original == SQL_BLOB) {
                    blobs[i] = writeBlob(m_database->attachment(), tr, texts[i], status);
                    builder->setType(&status, i, SQL_BLOB | 1);
                } else {
                    builder->setType(&status, i, SQL_VARYING | 1);
                    builder->setLength(&status, i, static_cast<unsigned>(qMax<qsizetype>(1, texts[i].size())));
                }
            } else if (std::holds_alternative<qint64>(v)) {
                builder->setType(&status, i, SQL_INT64 | 1);
                builder->setLength(&status, i, 8);
                builder->setScale(&status, i, 0);
            } else if (const auto *dec = std::get_if<TDecimal>(&v)) {
                builder->setType(&status, i, SQL_INT64 | 1);
                builder->setLength(&status, i, 8);
                builder->setScale(&status, i, -dec->scale());
            } else if (std::holds_alternative<double>(v)) {
                builder->setType(&status, i, SQL_DOUBLE | 1);
                builder->setLength(&status, i, 8);
            } else if (std::holds_alternative<TTimestamp>(v)) {
                builder->setType(&status, i, SQL_TIMESTAMP | 1);
                builder->setLength(&status, i, 8);
            } else if (std::holds_alternative<QDate>(v)) {
                builder->setType(&status, i, SQL_TYPE_DATE | 1);
                builder->setLength(&status, i, 4);
            } else if (std::holds_alternative<TBlobRef>(v)) {
                builder->setType(&status, i, SQL_BLOB | 1);
            } else {
                builder->setType(&status, i, original | 1);
            }
        }
        fb::Ref<IMessageMetadata> meta(builder->getMetadata(&status));
        std::vector<unsigned char> buffer(meta->getMessageLength(&status), 0);
        for (unsigned i = 0; i < count; ++i) {
            const TValue &v = m_params[static_cast<size_t>(m_paramSlots[i])].value();
            unsigned char *at = buffer.data() + meta->getOffset(&status, i);
            auto *nullFlag = reinterpret_cast<short *>(buffer.data() + meta->getNullOffset(&status, i));
            *nullFlag = ::isNull(v) ? -1 : 0;
            if (std::holds_alternative<QString>(v)) {
                if ((meta->getType(&status, i) & ~1u) == SQL_BLOB) {
                    std::memcpy(at, &blobs[i], sizeof(ISC_QUAD));
                } else {
                    const auto len = static_cast<unsigned short>(texts[i].size());
                    std::memcpy(at, &len, sizeof len);
                    std::memcpy(at + sizeof len, texts[i].constData(), len);
                }
            } else if (const auto *n = std::get_if<qint64>(&v)) {
                std::memcpy(at, n, 8);
            } else if (const auto *dec = std::get_if<TDecimal>(&v)) {
                const qint64 units = dec->units();
                std::memcpy(at, &units, 8);
            } else if (const auto *f = std::get_if<double>(&v)) {
                std::memcpy(at, f, 8);
            } else if (const auto *t = std::get_if<TTimestamp>(&v)) {
                ISC_TIMESTAMP ts{t->date, t->time};
                std::memcpy(at, &ts, sizeof ts);
            } else if (const auto *dt = std::get_if<QDate>(&v)) {
                const ISC_DATE date = TTimestamp::fromDate(*dt).date;
                std::memcpy(at, &date, sizeof date);
            } else if (const auto *b = std::get_if<TBlobRef>(&v)) {
                ISC_QUAD q{static_cast<ISC_LONG>(b->high), b->low};
                std::memcpy(at, &q, sizeof q);
            }
        }
        if (returnsRows()) {
            d->cursor = d->statement->openCursor(&status, tr, meta.get(), buffer.data(), d->outMeta, 0);
        } else {
            const bool hasOutput = !d->out.empty();
            d->statement->execute(&status, tr, meta.get(), buffer.data(), hasOutput ? d->outMeta : nullptr,
                                  hasOutput ? d->outBuffer.data() : nullptr);
            m_rowsAffected = d->statement->getAffectedRecords(&status);
        }
    });
    if (d->cursor) {
        m_eof = false;
        next();
    } else if (!d->out.empty()) {
        // EXECUTE PROCEDURE and RETURNING give one row without a cursor.
        fetchRow();
        m_eof = false;
    } else {
        m_eof = true;
        if (autoCommit)
            transaction()->commit();
    }
}

void TQuery::next()
{
    if (fetchNext())
        decodeInto(m_row, nullptr);
    else
        m_row.clear();
}

bool TQuery::fetchNext()
{
    if (!d->cursor) {
        m_eof = true;
        return false;
    }
    const int result = fb::guarded([&] { return d->cursor->fetchNext(d->fetchStatus.get(), d->outBuffer.data()); });
    if (result == IStatus::RESULT_OK)
        return true;
    m_eof = true;
    d->releaseCursor();
    return false;
}

bool TQuery::fetchNextInto(std::vector<TValue> &row, const std::vector<int> &slotOfColumn)
{
    if (!fetchNext())
        return false;
    decodeInto(row, &slotOfColumn);
    return true;
}

void TQuery::fetchRow() { decodeInto(m_row, nullptr); }

void TQuery::decodeInto(std::vector<TValue> &row, const std::vector<int> *slotOfColumn)
{
    const unsigned char *buf = d->outBuffer.data();
    if (!slotOfColumn)
        row.resize(d->out.size());
    for (size_t i = 0; i < d->out.size(); ++i) {
        const int slot = slotOfColumn ? (*slotOfColumn)[i] : static_cast<int>(i);
        if (slot < 0)
            continue;
        const OutColumn &c = d->out[i];
        TValue &v = row[static_cast<size_t>(slot)];
        if (*reinterpret_cast<const short *>(buf + c.nullOffset)) {
            v = std::monostate();
            continue;
        }
        const unsigned char *at = buf + c.offset;
        switch (c.kind) {
        case Decode::Int64: {
            qint64 n;
            std::memcpy(&n, at, 8);
            if (c.scale == 0)
                v = n;
            else
                v = TDecimal(n, -c.scale);
            break;
        }
        case Decode::Double: {
            double f;
            std::memcpy(&f, at, 8);
            v = f;
            break;
        }
        case Decode::Text: {
            const char *s = reinterpret_cast<const char *>(at);
            qsizetype len = c.length;
            while (len > 0 && s[len - 1] == ' ')
                --len;
            v = c.binary ? connectionText::decodeBinary(s, len) : connectionText::decode(s, len);
            break;
        }
        case Decode::Varying: {
            unsigned short len;
            std::memcpy(&len, at, sizeof len);
            const char *s = reinterpret_cast<const char *>(at + sizeof len);
            v = c.binary ? connectionText::decodeBinary(s, len) : connectionText::decode(s, len);
            break;
        }
        case Decode::Timestamp: {
            ISC_TIMESTAMP ts;
            std::memcpy(&ts, at, sizeof ts);
            v = TTimestamp{ts.timestamp_date, ts.timestamp_time};
            break;
        }
        case Decode::Date: {
            ISC_DATE date;
            std::memcpy(&date, at, sizeof date);
            v = TTimestamp{date, 0};
            break;
        }
        case Decode::Time: {
            ISC_TIME time;
            std::memcpy(&time, at, sizeof time);
            v = TTimestamp{0, time};
            break;
        }
        case Decode::Blob: {
            ISC_QUAD q;
            std::memcpy(&q, at, sizeof q);
            v = TBlobRef{static_cast<quint32>(q.gds_quad_high), q.gds_quad_low, c.binary};
            break;
        }
        case Decode::Boolean:
            v = static_cast<qint64>(*at ? 1 : 0);
            break;
        case Decode::Other:
            v = std::monostate();
            break;
        }
    }
}

void TQuery::close()
{
    d->releaseCursor();
    m_eof = true;
    m_row.clear();
}

void TQuery::closeCursorsOf(TTransaction *transaction)
{
    // A transaction's queries belong to the thread that closes them here.
    QList<TQuery *> own;
    {
        AllQueries &all = allQueries();
        const QMutexLocker lock(&all.mutex);
        for (TQuery *q : std::as_const(all.list))
            if (q->transaction() == transaction)
                own << q;
    }
    for (TQuery *q : std::as_const(own))
        if (q->d->cursor)
            q->close();
}

int TQuery::columnIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

qint64 TQuery::asInteger(int index) const { return valueToInteger(value(index)); }

TDecimal TQuery::asDecimal(int index) const { return valueToDecimal(value(index)); }

QDateTime TQuery::asDateTime(int index) const { return valueToDateTime(value(index)); }

QString TQuery::asString(int index) const
{
    const TValue &v = value(index);
    if (const auto *b = std::get_if<TBlobRef>(&v))
        return readBlob(*b);
    return valueToPlainText(v);
}

QString TQuery::readBlob(const TBlobRef &ref) const
{
    if (!m_database || !m_database->connected())
        throw EDatabaseError(QStringLiteral("Die Datenbank ist nicht verbunden."));
    TTransaction *t = transaction();
    if (!t->active())
        t->start();
    fb::Status status;
    QByteArray bytes;
    fb::guarded([&] {
        ISC_QUAD id{static_cast<ISC_LONG>(ref.high), ref.low};
        IBlob *blob = m_database->attachment()->openBlob(&status, t->handle(), &id, 0, nullptr);
        try {
            char chunk[kBlobSegment];
            for (;;) {
                unsigned got = 0;
                const int r = blob->getSegment(&status, sizeof chunk, chunk, &got);
                if (r == IStatus::RESULT_OK || r == IStatus::RESULT_SEGMENT)
                    bytes.append(chunk, got);
                else
                    break;
            }
            blob->close(&status);
        } catch (...) {
            blob->release();
            throw;
        }
    });
    return ref.binary ? connectionText::decodeBinary(bytes.constData(), bytes.size())
                      : connectionText::decode(bytes.constData(), bytes.size());
}

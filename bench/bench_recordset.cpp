// Reading the inspections table: a bare cursor of the Firebird client
// against the program's record set (TDataSet), same file, same statement.
// Prints the median times, the peak resident memory of each and the ratio.
#include "DataGenerator.h"
#include "DataSet.h"
#include "Database.h"
#include "DbError.h"
#include "FbApi.h"
#include "ProcessMemory.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <firebird/Interface.h>
#include <malloc.h>
#include <memory>
#include <optional>
#include <vector>

using namespace Firebird;

namespace {

// --- memory -----------------------------------------------------------------

// Bytes the allocator has handed out and not got back.
qint64 heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<qint64>(m.uordblks + m.hblkhd);
}


// --- what was read ------------------------------------------------------------

// Sums over every value read, so that neither side can skip work and both
// can be compared: the same rows must give the same sums.
struct Checksum {
    qint64 rows = 0;
    qint64 nulls = 0;
    qint64 integers = 0;   // INTEGER and SMALLINT columns
    qint64 decimals = 0;   // units of DECIMAL(18,4) columns
    qint64 days = 0;       // date parts of timestamps
    qint64 times = 0;      // time parts of timestamps
    qint64 textLength = 0; // characters of VARCHAR columns
    qint64 textFirst = 0;  // code of each text's first character
    qint64 blobs = 0;      // BLOB columns that are not NULL

    bool operator==(const Checksum &) const = default;
    QString toString() const
    {
        return QStringLiteral("rows=%1 nulls=%2 int=%3 dec=%4 days=%5 times=%6 textLen=%7 textFirst=%8 blobs=%9")
            .arg(rows).arg(nulls).arg(integers).arg(decimals).arg(days).arg(times).arg(textLength).arg(textFirst).arg(blobs);
    }
};

// --- the bare cursor ------------------------------------------------------------

struct FbError {
    QString text;
};

QString statusText(IUtil *util, const FbException &e)
{
    char buffer[2048];
    util->formatStatus(buffer, sizeof buffer, e.getStatus());
    return QString::fromLatin1(buffer).trimmed();
}

// One attachment of its own through the client's dispatcher, nothing of the
// record-set layer in between.
class BareConnection {
public:
    BareConnection() : m_master(fb_get_master_interface()), m_util(m_master->getUtilInterface()) {}
    ~BareConnection() { detach(); }

    void attach(const QString &path)
    {
        ThrowStatusWrapper status(m_master->getStatus());
        IXpbBuilder *dpb = nullptr;
        try {
            if (!m_provider)
                m_provider = m_master->getDispatcher();
            dpb = m_util->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
            dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
            dpb->insertString(&status, isc_dpb_password, "lindgrove");
            dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
            dpb->insertString(&status, isc_dpb_config, "Providers=Engine12");
            const QByteArray file = path.toLocal8Bit();
            m_attachment = m_provider->attachDatabase(&status, file.constData(), dpb->getBufferLength(&status),
                                                      dpb->getBuffer(&status));
            dpb->dispose();
        } catch (const FbException &e) {
            const QString text = statusText(m_util, e);
            if (dpb)
                dpb->dispose();
            status.dispose();
            throw FbError{text};
        }
        status.dispose();
    }

    void detach()
    {
        if (!m_attachment)
            return;
        ThrowStatusWrapper status(m_master->getStatus());
        try {
            m_attachment->detach(&status);
        } catch (const FbException &) {
            m_attachment->release();
        }
        m_attachment = nullptr;
        status.dispose();
        if (m_provider) {
            m_provider->release();
            m_provider = nullptr;
        }
    }

    bool attached() const { return m_attachment != nullptr; }

    // Prepares, opens, fetches every row into one buffer and reads each
    // column of it (blob ids, not blob contents); frees everything again.
    Checksum readAll(const QByteArray &sql)
    {
        struct Column {
            unsigned type, offset, nullOffset, length;
            int scale;
        };
        Checksum sum;
        ThrowStatusWrapper status(m_master->getStatus());
        ITransaction *transaction = nullptr;
        IStatement *statement = nullptr;
        IMessageMetadata *meta = nullptr;
        IResultSet *cursor = nullptr;
        try {
            transaction = m_attachment->startTransaction(&status, 0, nullptr);
            statement = m_attachment->prepare(&status, transaction, 0, sql.constData(), SQL_DIALECT_V6,
                                              IStatement::PREPARE_PREFETCH_METADATA);
            meta = statement->getOutputMetadata(&status);
            const unsigned count = meta->getCount(&status);
            std::vector<Column> columns(count);
            for (unsigned i = 0; i < count; ++i)
                columns[i] = {meta->getType(&status, i) & ~1u, meta->getOffset(&status, i), meta->getNullOffset(&status, i),
                              meta->getLength(&status, i), meta->getScale(&status, i)};
            std::vector<unsigned char> buffer(meta->getMessageLength(&status));
            unsigned char *const buf = buffer.data();
            cursor = statement->openCursor(&status, transaction, nullptr, nullptr, meta, 0);
            while (cursor->fetchNext(&status, buf) == IStatus::RESULT_OK) {
                ++sum.rows;
                for (const Column &c : columns) {
                    short nullFlag;
                    std::memcpy(&nullFlag, buf + c.nullOffset, sizeof nullFlag);
                    if (nullFlag) {
                        ++sum.nulls;
                        continue;
                    }
                    const unsigned char *at = buf + c.offset;
                    switch (c.type) {
                    case SQL_SHORT: {
                        qint16 v;
                        std::memcpy(&v, at, sizeof v);
                        sum.integers += v;
                        break;
                    }
                    case SQL_LONG: {
                        qint32 v;
                        std::memcpy(&v, at, sizeof v);
                        sum.integers += v;
                        break;
                    }
                    case SQL_INT64: {
                        qint64 v;
                        std::memcpy(&v, at, sizeof v);
                        (c.scale == 0 ? sum.integers : sum.decimals) += v;
                        break;
                    }
                    case SQL_TIMESTAMP: {
                        ISC_TIMESTAMP ts;
                        std::memcpy(&ts, at, sizeof ts);
                        sum.days += ts.timestamp_date;
                        sum.times += ts.timestamp_time;
                        break;
                    }
                    case SQL_VARYING: {
                        unsigned short len;
                        std::memcpy(&len, at, sizeof len);
                        sum.textLength += len;
                        if (len)
                            sum.textFirst += at[sizeof len];
                        break;
                    }
                    case SQL_TEXT: {
                        unsigned len = c.length;
                        while (len > 0 && at[len - 1] == ' ')
                            --len;
                        sum.textLength += len;
                        if (len)
                            sum.textFirst += at[0];
                        break;
                    }
                    case SQL_BLOB:
                        ++sum.blobs;
                        break;
                    default:
                        break;
                    }
                }
            }
            cursor->close(&status);
            cursor = nullptr;
            meta->release();
            meta = nullptr;
            statement->free(&status);
            statement = nullptr;
            transaction->commit(&status);
            transaction = nullptr;
        } catch (const FbException &e) {
            const QString text = statusText(m_util, e);
            if (cursor)
                cursor->release();
            if (meta)
                meta->release();
            if (statement)
                statement->release();
            if (transaction)
                transaction->release();
            status.dispose();
            throw FbError{text};
        }
        status.dispose();
        return sum;
    }

private:
    IMaster *m_master;
    IUtil *m_util;
    IProvider *m_provider = nullptr;
    IAttachment *m_attachment = nullptr;
};

// --- the record set -------------------------------------------------------------

// The 20 persistent fields as the program declares them.
void declareFields(TDataSet &ds)
{
    const QString decimals[] = {QStringLiteral("SCHUTZLEITWIDERSTAND"), QStringLiteral("ISOLATIONSPRUEFUNG"),
                                QStringLiteral("ERSATZABLEITSTROM"), QStringLiteral("DIFFERENZSTROM"),
                                QStringLiteral("BERUEHRUNGSSTROM")};
    ds.addField(QStringLiteral("ID"), TFieldType::Integer);
    ds.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50);
    ds.addField(QStringLiteral("PRUEFDATUM"), TFieldType::DateTime);
    ds.addField(QStringLiteral("NEXT_PRUEFDATUM"), TFieldType::DateTime);
    ds.addField(QStringLiteral("PRUEFER_ID"), TFieldType::Integer);
    ds.addField(QStringLiteral("PRUEFGERAETE_ID"), TFieldType::Integer);
    ds.addField(QStringLiteral("PRUEFLINGE_ID"), TFieldType::Integer);
    ds.addField(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), TFieldType::Boolean);
    for (const QString &name : decimals) {
        ds.addField(name, TFieldType::Decimal, 4);
        ds.addField(name + QStringLiteral("_BESTANDEN"), TFieldType::Boolean);
    }
    ds.addField(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), TFieldType::Boolean);
    ds.addField(QStringLiteral("BEMERKUNG"), TFieldType::Memo);
}

// Reads every value of every row through the record set (memo texts are
// loaded by this). Returns the sums and, separately, memo text statistics.
Checksum checksumOf(TDataSet &ds, qint64 *memoChars, qint64 *badValues)
{
    Checksum sum;
    *memoChars = 0;
    *badValues = 0;
    for (int r = 0; r < ds.recordCount(); ++r) {
        ++sum.rows;
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const TField *field = ds.field(f);
            const TValue &v = ds.valueAt(r, field);
            if (isNull(v)) {
                ++sum.nulls;
                continue;
            }
            if (field->dataType() == TFieldType::Memo) {
                if (const auto *s = std::get_if<QString>(&v)) {
                    ++sum.blobs;
                    *memoChars += s->size();
                } else {
                    ++*badValues;
                }
            } else if (const auto *n = std::get_if<qint64>(&v)) {
                sum.integers += *n;
            } else if (const auto *d = std::get_if<TDecimal>(&v)) {
                if (d->scale() != 4)
                    ++*badValues;
                sum.decimals += d->rescaled(4).units();
            } else if (const auto *t = std::get_if<TTimestamp>(&v)) {
                sum.days += t->date;
                sum.times += t->time;
            } else if (const auto *s = std::get_if<QString>(&v)) {
                sum.textLength += s->size();
                if (!s->isEmpty())
                    sum.textFirst += s->at(0).unicode();
            } else {
                ++*badValues;
            }
        }
    }
    return sum;
}

struct RecordSetRun {
    double openMs = 0;
    double closeMs = 0;
    int rows = 0;
    qint64 heldBytes = 0; // heap growth while the rows are held
};

// One round: a fresh record set as a form would create it, opened (all rows
// fetched into memory) and closed; only open() and close() are timed.
RecordSetRun runRecordSet(TDatabase &db, std::optional<Checksum> *verify = nullptr, qint64 *memoChars = nullptr,
                          qint64 *badValues = nullptr)
{
    RecordSetRun run;
    TDataSet ds(&db);
    ds.setSelectSql(TBenchData::selectSql());
    declareFields(ds);
    const qint64 before = heapInUse();
    QElapsedTimer t;
    t.start();
    ds.open();
    run.openMs = t.nsecsElapsed() / 1e6;
    run.rows = ds.recordCount();
    run.heldBytes = heapInUse() - before;
    if (verify)
        *verify = checksumOf(ds, memoChars, badValues);
    t.restart();
    ds.close();
    run.closeMs = t.nsecsElapsed() / 1e6;
    db.defaultTransaction()->commit();
    return run;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString describe(const std::vector<double> &v)
{
    if (v.empty())
        return QStringLiteral("-");
    return QStringLiteral("median %1 ms (min %2, max %3, n=%4)")
        .arg(median(v), 0, 'f', 1)
        .arg(*std::min_element(v.begin(), v.end()), 0, 'f', 1)
        .arg(*std::max_element(v.begin(), v.end()), 0, 'f', 1)
        .arg(v.size());
}

void out(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bench_recordset"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reads the inspections table with a bare Firebird cursor and with TDataSet."));
    parser.addHelpOption();
    QCommandLineOption rowsOpt(QStringLiteral("rows"), QStringLiteral("Rows in the table (default 100000)."), QStringLiteral("N"),
                               QStringLiteral("100000"));
    QCommandLineOption roundsOpt(QStringLiteral("rounds"), QStringLiteral("Timed rounds of each (default 5)."), QStringLiteral("N"),
                                 QStringLiteral("5"));
    QCommandLineOption warmupOpt(QStringLiteral("warmup"), QStringLiteral("Untimed rounds of each first (default 1); the peak "
                                                                          "memory of each side is taken there, and the "
                                                                          "values are compared after them."),
                                 QStringLiteral("N"), QStringLiteral("1"));
    QCommandLineOption dirOpt(QStringLiteral("dir"), QStringLiteral("Folder of the database file (default %1).").arg(TBenchData::defaultFolder()),
                              QStringLiteral("folder"), TBenchData::defaultFolder());
    QCommandLineOption onlyOpt(QStringLiteral("only"), QStringLiteral("Run only 'bare' or only 'recordset' (for profiling)."),
                               QStringLiteral("which"));
    QCommandLineOption showOpt(QStringLiteral("show"), QStringLiteral("Print the first N rows as the record set reads them, then stop."),
                               QStringLiteral("N"));
    parser.addOptions({rowsOpt, roundsOpt, warmupOpt, dirOpt, onlyOpt, showOpt});
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Same as --dir."), QStringLiteral("[folder]"));
    parser.process(app);

    bool ok = false;
    const int rows = parser.value(rowsOpt).toInt(&ok);
    if (!ok || rows < 1) {
        std::fprintf(stderr, "--rows needs a positive number\n");
        return 2;
    }
    const int rounds = std::max(1, parser.value(roundsOpt).toInt());
    const int warmups = std::max(0, parser.value(warmupOpt).toInt());
    QString folder = parser.value(dirOpt);
    if (!parser.positionalArguments().isEmpty())
        folder = parser.positionalArguments().first();
    const QString only = parser.value(onlyOpt);
    const bool doBare = only.isEmpty() || only == u"bare";
    const bool doSet = only.isEmpty() || only == u"recordset";
    if (!doBare && !doSet) {
        std::fprintf(stderr, "--only takes 'bare' or 'recordset'\n");
        return 2;
    }

    fb::ensureLockFolder(); // before the engine starts, for both connections
    const QByteArray sql = TBenchData::selectSql().toLatin1();
    int status = 0;
    try {
        const QString path = TBenchData::ensureDatabase(folder, rows);

        TDatabase db;
        new TTransaction(&db, &db);
        db.setDatabaseName(path);
        db.params = TBenchData::connectionParams();
        if (parser.isSet(showOpt)) {
            db.open();
            TDataSet ds(&db);
            ds.setSelectSql(TBenchData::selectSql());
            declareFields(ds);
            ds.open();
            const int n = std::min(parser.value(showOpt).toInt(), ds.recordCount());
            for (int r = 0; r < n; ++r) {
                QStringList cells;
                for (int f = 0; f < ds.fieldCount(); ++f)
                    cells << ds.field(f)->plainTextOf(ds.valueAt(r, ds.field(f)));
                out(cells.join(QStringLiteral(" | ")));
            }
            ds.close();
            db.close();
            return 0;
        }
        BareConnection bare;

        // Both connections at once when the engine allows it; otherwise
        // each one is attached only for its own rounds (untimed).
        bool together = true;
        if (doSet)
            db.open();
        if (doBare) {
            try {
                bare.attach(path);
            } catch (const FbError &e) {
                if (!doSet)
                    throw;
                together = false;
                std::fprintf(stderr, "Second attachment refused (%s); attaching one at a time.\n", qPrintable(e.text));
                db.close();
                bare.attach(path);
                bare.detach();
            }
        }
        auto useBare = [&] {
            if (!together && !bare.attached()) {
                db.close();
                bare.attach(path);
            }
        };
        auto useSet = [&] {
            if (!together && !db.connected()) {
                bare.detach();
                db.open();
            }
        };

        const bool canResetPeak = resetPeak();
        const qint64 baseKiB = procStatusKiB("VmRSS");
        qint64 barePeakKiB = -1, setPeakKiB = -1;
        auto trackPeak = [&](qint64 &peak) {
            const qint64 hwm = procStatusKiB("VmHWM");
            peak = std::max(peak, hwm);
        };

        // Warm-up: fills the engine's page cache, compares the values both
        // sides read and takes the peak memory of each side (the timed rounds
        // below are left alone: trimming the heap between them would make the
        // record set fault its pages in anew each time).
        std::optional<Checksum> bareSum, setSum;
        qint64 memoChars = 0, badValues = 0;
        for (int w = 0; w < warmups; ++w) {
            if (doBare) {
                useBare();
                resetPeak();
                bareSum = bare.readAll(sql);
                trackPeak(barePeakKiB);
            }
            if (doSet) {
                useSet();
                resetPeak();
                runRecordSet(db);
                trackPeak(setPeakKiB);
            }
        }
        if (warmups > 0 && doSet) // reads every value, memo texts too: not a measured run
            runRecordSet(db, &setSum, &memoChars, &badValues);
        resetPeak();

        std::vector<double> bareMs, openMs, closeMs, setMs;
        std::vector<double> heldBytes;
        for (int r = 0; r < rounds; ++r) {
            // Alternate which side goes first, so neither always finds the
            // caches as the other left them.
            for (int side = 0; side < 2; ++side) {
                const bool bareTurn = (side == 0) == (r % 2 == 0);
                if (bareTurn && doBare) {
                    useBare();
                    QElapsedTimer t;
                    t.start();
                    const Checksum sum = bare.readAll(sql);
                    bareMs.push_back(t.nsecsElapsed() / 1e6);
                    if (sum.rows != rows)
                        throw EDatabaseError(QStringLiteral("bare cursor read %1 rows, expected %2").arg(sum.rows).arg(rows));
                } else if (!bareTurn && doSet) {
                    useSet();
                    const RecordSetRun run = runRecordSet(db);
                    openMs.push_back(run.openMs);
                    closeMs.push_back(run.closeMs);
                    setMs.push_back(run.openMs + run.closeMs);
                    heldBytes.push_back(static_cast<double>(run.heldBytes));
                    if (run.rows != rows)
                        throw EDatabaseError(QStringLiteral("record set held %1 rows, expected %2").arg(run.rows).arg(rows));
                }
            }
        }
        const qint64 roundsPeakKiB = procStatusKiB("VmHWM");
        bare.detach();
        db.close();

        out(QStringLiteral("rows: %1, rounds: %2 (+%3 warm-up), file: %4%5")
                .arg(rows).arg(rounds).arg(warmups).arg(path, together ? QString() : QStringLiteral(" (attached one at a time)")));
        if (doBare)
            out(QStringLiteral("bare cursor: %1").arg(describe(bareMs)));
        if (doSet) {
            out(QStringLiteral("record set open: %1").arg(describe(openMs)));
            out(QStringLiteral("record set close: %1").arg(describe(closeMs)));
            out(QStringLiteral("record set open+close: %1").arg(describe(setMs)));
            if (!heldBytes.empty())
                out(QStringLiteral("record set heap held while open: %1 MiB (%2 bytes per row)")
                        .arg(median(heldBytes) / 1048576.0, 0, 'f', 1)
                        .arg(median(heldBytes) / rows, 0, 'f', 0));
        }
        out(QStringLiteral("RSS before the rounds: %1").arg(mib(baseKiB)));
        if (canResetPeak && warmups > 0) {
            if (doBare)
                out(QStringLiteral("peak RSS (VmHWM) during bare cursor: %1").arg(mib(barePeakKiB)));
            if (doSet)
                out(QStringLiteral("peak RSS (VmHWM) during record set: %1").arg(mib(setPeakKiB)));
            out(QStringLiteral("peak RSS (VmHWM) during the timed rounds: %1").arg(mib(roundsPeakKiB)));
        } else {
            out(QStringLiteral("peak RSS (VmHWM) of the process%1: %2")
                    .arg(canResetPeak ? QString() : QStringLiteral(" (could not be reset between measures)"), mib(roundsPeakKiB)));
        }

        if (bareSum && setSum) {
            const bool same = *bareSum == *setSum && badValues == 0;
            out(QStringLiteral("values: %1").arg(same ? QStringLiteral("identical on both sides") : QStringLiteral("DIFFER")));
            if (!same) {
                out(QStringLiteral("  bare cursor: %1").arg(bareSum->toString()));
                out(QStringLiteral("  record set:  %1 (values of an unexpected type: %2)").arg(setSum->toString()).arg(badValues));
                status = 1;
            }
            out(QStringLiteral("memo texts loaded: %1, %2 characters").arg(setSum->blobs).arg(memoChars));
        }
        if (doBare && doSet)
            out(QStringLiteral("ratio: %1").arg(median(setMs) / median(bareMs), 0, 'f', 2));
    } catch (const EDatabaseError &e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const FbError &e) {
        std::fprintf(stderr, "error (bare cursor): %s\n", qPrintable(e.text));
        return 1;
    }
    return status;
}

#include "ScaleData.h"
#include "TestDatabase.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "MigrationList.h"
#include "NewDatabase.h"
#include "Query.h"
#include "SchemaVersion.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace scale {

namespace {

constexpr int kFirstDeviceId = 100000;
constexpr int kFirstInspectionId = 1000000;
constexpr int kRowsPerCommit = 50000;
constexpr int kStepsBeforeFingerprints = 5;

QString fileName(const QString &folder, const ScaleSize &size, const char *variant)
{
    return QStringLiteral("%1/scale-%2-%3-v%4.fdb").arg(folder, QString::fromLatin1(size.name), QString::fromLatin1(variant)).arg(kGeneratorVersion);
}

// Writes rows through prepared statements, committing (retaining) after
// every kRowsPerCommit rows so that the engine's undo log stays small.
class BulkWriter {
public:
    explicit BulkWriter(TDatabase &db) : m_db(db), m_customer(&db), m_device(&db), m_inspection(&db)
    {
        m_customer.setSql(QStringLiteral("INSERT INTO KUNDEN (ID, NAME, STRASSE, PLZ, ORT) VALUES (:ID, :NAME, 'Industriestraße 7', "
                                         "'12345', 'Messstadt')"));
        m_device.setSql(QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID, "
                                       "HERSTELLER, SERIENNR) VALUES (:ID, :B, :N, :K, :O, 12, :KUNDE, :H, :S)"));
        m_inspection.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                                           "PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, "
                                           "SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, "
                                           "FUNKTIONSPRUEFUNG_BESTANDEN, BEMERKUNG) "
                                           "VALUES (:ID, :D, :ND, 11, 11, :P, 1, :R, 1, 19.99, 1, 1, :BEM)"));
        m_customer.prepare();
        m_device.prepare();
        m_inspection.prepare();
    }
    void customer(int id, const QString &name)
    {
        m_customer.param(0).setAsInteger(id);
        m_customer.param(1).setAsString(name);
        m_customer.execQuery();
        counted();
    }
    void device(int id, int customerId, int number)
    {
        m_device.param(0).setAsInteger(id);
        m_device.param(1).setAsString(QStringLiteral("Gerät %1 Bohrhammer").arg(number));
        m_device.param(2).setAsInteger(number);
        m_device.param(3).setAsString(number % 3 ? QStringLiteral("I") : QStringLiteral("II"));
        m_device.param(4).setAsString(QStringLiteral("Halle %1, Regal %2").arg(number / 25 + 1).arg(number % 25 + 1));
        m_device.param(5).setAsInteger(customerId);
        m_device.param(6).setAsString(QStringLiteral("Werkzeugbau Nord %1").arg(id % 17));
        m_device.param(7).setAsString(QStringLiteral("SN-%1").arg(id));
        m_device.execQuery();
        counted();
    }
    void inspection(int id, int deviceId, const QDateTime &when)
    {
        m_inspection.param(0).setAsInteger(id);
        m_inspection.param(1).setAsDateTime(when);
        m_inspection.param(2).setAsDateTime(when.addMonths(12));
        m_inspection.param(3).setAsInteger(deviceId);
        m_inspection.param(4).setAsDecimal(TDecimal(5 + id % 25, 2));
        if (id % 10 == 0)
            m_inspection.param(5).setAsString(QStringLiteral("Stecker erneuert, Zugentlastung geprüft."));
        else
            m_inspection.param(5).clear();
        m_inspection.execQuery();
        counted();
    }
    void finish() { m_db.defaultTransaction()->commitRetaining(); }

private:
    void counted()
    {
        if (++m_rows % kRowsPerCommit == 0)
            finish();
    }
    TDatabase &m_db;
    TQuery m_customer, m_device, m_inspection;
    qint64 m_rows = 0;
};

// Inspection k of n of a device, the latest in 2026 (k = n - 1), one a year
// before that; spread over the days by the device's id.
QDateTime inspectionTime(int deviceId, int k, int n)
{
    const QDate latest = QDate(2026, 11, 30).addDays(-(deviceId % 330));
    return QDateTime(latest.addYears(k - (n - 1)), QTime(7, 0).addSecs((deviceId % 600) * 60));
}

void writeRows(TDatabase &db, const ScaleSize &size)
{
    BulkWriter w(db);
    int deviceId = kFirstDeviceId;
    int inspectionId = kFirstInspectionId;
    // The visible customer: 50 devices, four inspections each.
    w.customer(kVisibleCustomer, visibleCustomerName());
    for (int d = 1; d <= kVisibleDevices; ++d, ++deviceId) {
        w.device(deviceId, kVisibleCustomer, d);
        for (int k = 0; k < kVisibleInspectionsPerDevice; ++k)
            w.inspection(inspectionId++, deviceId, inspectionTime(deviceId, k, kVisibleInspectionsPerDevice));
    }
    // The rest, spread evenly over the other customers and their devices.
    const int otherCustomers = size.customers - 1;
    const int otherDevices = size.devices - kVisibleDevices;
    const int otherInspections = size.inspections - kVisibleDevices * kVisibleInspectionsPerDevice;
    for (int c = 1; c <= otherCustomers; ++c)
        w.customer(kVisibleCustomer + c, QStringLiteral("Kunde %1 Elektro GmbH").arg(c, 4, 10, QChar(u'0')));
    for (int i = 0; i < otherDevices; ++i, ++deviceId) {
        const int customer = kVisibleCustomer + 1 + i % otherCustomers;
        w.device(deviceId, customer, i / otherCustomers + 1);
        const int n = otherInspections / otherDevices + (i < otherInspections % otherDevices ? 1 : 0);
        for (int k = 0; k < n; ++k)
            w.inspection(inspectionId++, deviceId, inspectionTime(deviceId, k, n));
    }
    w.finish();
    // The program's own keys start after the generated ones.
    TQuery q(&db);
    for (const auto &[sequence, next] : {std::pair{QStringLiteral("SEQ_KUNDEN"), kVisibleCustomer + size.customers},
                                         std::pair{QStringLiteral("SEQ_PRUEFLINGE"), deviceId},
                                         std::pair{QStringLiteral("SEQ_PRUEFUNGEN"), inspectionId}}) {
        q.setSql(QStringLiteral("ALTER SEQUENCE %1 RESTART WITH %2").arg(sequence).arg(next));
        q.execQuery();
    }
    w.finish();
}

// Builds a file under a temporary name, renamed when complete.
template <typename Build>
QString ensure(const QString &path, Build build)
{
    if (QFile::exists(path))
        return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    QElapsedTimer timer;
    timer.start();
    std::fprintf(stderr, "generating %s ...\n", qPrintable(path));
    {
        TDatabase db;
        TTransaction t(&db);
        db.params = connectionParams();
        build(db, partial);
        t.commit();
        db.close();
    }
    if (!QFile::rename(partial, path))
        qFatal("cannot rename %s", qPrintable(partial));
    std::fprintf(stderr, "  done in %.1f s\n", timer.elapsed() / 1000.0);
    return path;
}

} // namespace

QString visibleCustomerName() { return QStringLiteral("Sichtbare Arbeit GmbH"); }

QString cacheFolder(const QString &given)
{
    QString folder = given;
    if (folder.isEmpty()) {
        folder = originalCacheHome() + QStringLiteral("/velmora-bench");
    }
    QDir().mkpath(folder);
    return folder;
}

QString ensureBeforeFingerprints(const QString &folder, const ScaleSize &size)
{
    return ensure(fileName(folder, size, "before-fingerprints"), [&](TDatabase &db, const QString &partial) {
        createVelmoraDatabase(db, partial);
        runMigrations(db, migrations().mid(0, kStepsBeforeFingerprints));
        writeRows(db, size);
    });
}

QString ensureCurrent(const QString &folder, const ScaleSize &size)
{
    const QString old = ensureBeforeFingerprints(folder, size);
    const QString current = ensure(fileName(folder, size, "current"), [&](TDatabase &db, const QString &partial) {
        if (!QFile::copy(old, partial))
            qFatal("cannot copy %s", qPrintable(old));
        db.setDatabaseName(partial);
        db.open();
        runMigrations(db); // fingerprints in chunks, then the index statistics
    });
    // A file cached by an earlier program is brought up to its schema here,
    // once, so that no measured start pays for an upgrade.
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    db.setDatabaseName(current);
    db.open();
    QElapsedTimer timer;
    timer.start();
    runMigrations(db);
    t.commit();
    if (timer.elapsed() > 2000) {
        // An upgrade that rewrote rows leaves their old versions behind; the
        // first reader of each would clean them up and pay for it. Read once
        // here, so that the measured steps find the file as a firm's would be.
        TQuery q(&db);
        for (const QString &table : userTables(db)) {
            q.setSql(QStringLiteral("SELECT COUNT(*) FROM ") + table);
            q.execQuery();
            q.close();
        }
        t.commit();
        std::fprintf(stderr, "brought %s up to date in %.1f s\n", qPrintable(current), timer.elapsed() / 1000.0);
    }
    db.close();
    return current;
}

} // namespace scale

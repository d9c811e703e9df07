#include "ImportLookups.h"
#include "Measurements.h"
#include "Query.h"

namespace {

// An export may spell "ř" as "r" and a combining caron: both compare as one.
QString folded(const QString &text) { return text.trimmed().normalized(QString::NormalizationForm_C).toCaseFolded(); }

QString numberKey(int customerId, const QString &number) { return QString::number(customerId) + u'/' + number; }

template <typename Row>
void forEachRow(TDatabase &database, const QString &sql, Row row)
{
    TQuery q(&database);
    q.setSql(sql);
    for (q.execQuery(); !q.eof(); q.next())
        row(q);
    q.close();
}

} // namespace

TImportLookups::TImportLookups(TDatabase &database) : FDatabase(database)
{
    static_assert(kMeasurementCount == 5);
    forEachRow(database, QStringLiteral("SELECT ID, NAME FROM KUNDEN"), [this](TQuery &q) {
        const int id = static_cast<int>(q.asInteger(0));
        FCustomerNames.insert(id, q.asString(1));
        FCustomersByName.insert(folded(q.asString(1)), id);
    });
    forEachRow(database, QStringLiteral("SELECT ID, NAME FROM PRUEFER"), [this](TQuery &q) {
        const int id = static_cast<int>(q.asInteger(0));
        FInspectorNames.insert(id, q.asString(1));
        FInspectorsByName.insert(folded(q.asString(1)), id);
    });
    forEachRow(database, QStringLiteral("SELECT ID, WERT FROM GRENZWERTE WHERE ID BETWEEN 0 AND 4"), [this](TQuery &q) {
        FRowLimits[static_cast<size_t>(q.asInteger(0))] = q.asDecimal(1).toDouble();
    });
}

void TImportLookups::readDevices(TQuery &q) const
{
    for (q.execQuery(); !q.eof(); q.next()) {
        TKnownDevice d;
        d.id = static_cast<int>(q.asInteger(0));
        d.customerId = static_cast<int>(q.asInteger(1));
        d.number = q.isNull(2) ? QString() : q.asDecimal(2).toPlainString();
        d.name = q.asString(3);
        d.schutzklasse = q.asString(4);
        d.interval = static_cast<int>(q.asInteger(5));
        d.ownLimit = q.asDecimal(6).toDouble();
        // Read once: a customer's devices and a device asked for by key may meet.
        if (FDevices.emplace(d.id, d).second && !d.number.isEmpty())
            FDevicesByNumber.insert(numberKey(d.customerId, d.number), d.id);
    }
    q.close();
}

std::optional<int> TImportLookups::customerByName(const QString &name, bool *ambiguous) const
{
    const QList<int> ids = FCustomersByName.values(folded(name));
    *ambiguous = ids.size() > 1;
    return ids.size() == 1 ? std::optional<int>(ids.first()) : std::nullopt;
}

std::optional<int> TImportLookups::customerByKey(const QString &key) const
{
    bool ok = false;
    const int id = key.trimmed().toInt(&ok);
    return ok && FCustomerNames.contains(id) ? std::optional<int>(id) : std::nullopt;
}

QList<const TKnownDevice *> TImportLookups::devicesByNumber(int customerId, const QString &number) const
{
    if (!FCustomersRead.contains(customerId)) {
        FCustomersRead.insert(customerId);
        TQuery q(&FDatabase);
        q.setSql(QStringLiteral("SELECT ID, KUNDEN_ID, NUMMER, BEZEICHNUNG, SCHUTZKLASSE, PRUEFINTERVAL, GRENZWERT0 "
                                "FROM PRUEFLINGE WHERE KUNDEN_ID = :KUNDE"));
        q.paramByName(QStringLiteral("KUNDE")).setAsInteger(customerId);
        readDevices(q);
    }
    QList<const TKnownDevice *> found;
    for (const int id : FDevicesByNumber.values(numberKey(customerId, number)))
        found << &FDevices.at(id);
    return found;
}

const TKnownDevice *TImportLookups::deviceById(int id) const
{
    if (!FDevices.contains(id)) {
        TQuery q(&FDatabase);
        q.setSql(QStringLiteral("SELECT ID, KUNDEN_ID, NUMMER, BEZEICHNUNG, SCHUTZKLASSE, PRUEFINTERVAL, GRENZWERT0 "
                                "FROM PRUEFLINGE WHERE ID = :ID"));
        q.paramByName(QStringLiteral("ID")).setAsInteger(id);
        readDevices(q);
    }
    const auto it = FDevices.find(id);
    return it == FDevices.end() ? nullptr : &it->second;
}

std::optional<int> TImportLookups::inspectorByName(const QString &name) const
{
    const QList<int> ids = FInspectorsByName.values(folded(name));
    return ids.size() == 1 ? std::optional<int>(ids.first()) : std::nullopt;
}

bool TImportLookups::inspected(int deviceId, const QDateTime &when) const
{
    if (!FDevicesInspectionsRead.contains(deviceId)) {
        FDevicesInspectionsRead.insert(deviceId);
        TQuery q(&FDatabase);
        q.setSql(QStringLiteral("SELECT PRUEFDATUM FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = :DEVICE"));
        q.paramByName(QStringLiteral("DEVICE")).setAsInteger(deviceId);
        for (q.execQuery(); !q.eof(); q.next())
            FInspected.insert(minuteKey(deviceId, q.asDateTime(0)));
        q.close();
    }
    return FInspected.contains(minuteKey(deviceId, when));
}

qint64 TImportLookups::minuteKey(int deviceId, const QDateTime &when)
{
    const qint64 minute = when.date().toJulianDay() * 1440 + when.time().hour() * 60 + when.time().minute();
    return (static_cast<qint64>(deviceId) << 32) ^ minute;
}

#pragma once
// What the dry run looks rows up in, read from the database in one go so
// that ten thousand rows cost a handful of queries.
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <optional>

class TDatabase;

struct TKnownDevice {
    int id = 0;
    int customerId = 0;
    QString number; // digits, empty when the device has none
    QString name;
    QString schutzklasse;
    int interval = 12;
    double ownLimit = 0.3; // protective-conductor limit of this device
};

class TImportLookups {
public:
    explicit TImportLookups(TDatabase &database);

    // Matches a customer by key text or by exact name (blanks around and
    // letter case ignored). More than one customer of that name: *ambiguous.
    std::optional<int> customerByName(const QString &name, bool *ambiguous) const;
    std::optional<int> customerByKey(const QString &key) const;
    QString customerName(int id) const { return FCustomerNames.value(id); }
    // The devices of a customer with that number (normally one).
    QList<const TKnownDevice *> devicesByNumber(int customerId, const QString &number) const;
    const TKnownDevice *deviceById(int id) const;
    std::optional<int> inspectorByName(const QString &name) const;
    QString inspectorName(int id) const { return FInspectorNames.value(id); }
    // An inspection of the device at that minute is stored already.
    bool inspected(int deviceId, const QDateTime &when) const;
    // The stored limit of a measurement (row of GRENZWERTE).
    double rowLimit(int measurement) const { return FRowLimits[static_cast<size_t>(measurement)]; }

    static qint64 minuteKey(int deviceId, const QDateTime &when);

private:
    QHash<int, QString> FCustomerNames;
    QMultiHash<QString, int> FCustomersByName; // folded name
    QHash<int, TKnownDevice> FDevices;
    QMultiHash<QString, int> FDevicesByNumber; // "customer/number"
    QHash<int, QString> FInspectorNames;
    QMultiHash<QString, int> FInspectorsByName;
    QSet<qint64> FInspected;
    std::array<double, 5> FRowLimits{};
};

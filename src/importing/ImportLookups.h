#pragma once
// What the dry run looks rows up in. Customers, inspectors and limits are
// few and read in one go; devices and their inspections are read per
// customer and per device as rows ask for them, through their indexes, so
// that an import reads what its rows concern, not the whole file.
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <map>
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

class TQuery;

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
    void readDevices(TQuery &q) const;

    TDatabase &FDatabase;
    QHash<int, QString> FCustomerNames;
    QMultiHash<QString, int> FCustomersByName; // folded name
    // Read as asked for; a map keeps the addresses handed out.
    mutable std::map<int, TKnownDevice> FDevices;
    mutable QSet<int> FCustomersRead;
    mutable QMultiHash<QString, int> FDevicesByNumber; // "customer/number"
    QHash<int, QString> FInspectorNames;
    QMultiHash<QString, int> FInspectorsByName;
    mutable QSet<int> FDevicesInspectionsRead;
    mutable QSet<qint64> FInspected;
    std::array<double, 5> FRowLimits{};
};

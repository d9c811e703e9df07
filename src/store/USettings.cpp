#include "USettings.h"
#include "UMisc.h"
#include <QDebug>
#include <QSet>
#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Tarnholm");
}

TSettings::TSettings()
    : FIniFileUsers(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orbenta"), kSection))
{
}

TSettings::~TSettings() = default;

QString TSettings::readText(const QString &name, const QString &fallback) const
{
    FIniFileUsers->sync();
    const QVariant v = FIniFileUsers->value(name);
    return v.isValid() ? v.toString() : fallback;
}

int TSettings::readInteger(const QString &name, int fallback, int min, int max) const
{
    bool ok = false;
    const int n = readText(name, QString()).trimmed().toInt(&ok);
    if (!ok)
        return fallback;
    if (n < min || n > max) {
        static QSet<QString> logged;
        if (!logged.contains(name)) {
            logged.insert(name);
            qWarning().noquote() << QStringLiteral("Einstellung %1=%2 liegt nicht zwischen %3 und %4; es gilt %5.")
                                        .arg(name)
                                        .arg(n)
                                        .arg(min)
                                        .arg(max)
                                        .arg(fallback);
        }
        return fallback;
    }
    return n;
}

void TSettings::write(const QString &name, const QString &value)
{
    FIniFileUsers->setValue(name, value);
    FIniFileUsers->sync();
}

QString TSettings::CommonPath() const
{
    return GetSpecialFolderPath(CSIDL_COMMON_DOCUMENTS) + QStringLiteral("/Pruefprotokolle");
}

QString TSettings::DBName() const { return readText(QStringLiteral("DBName"), CommonPath() + QStringLiteral("/VELMORA.FDB")); }
void TSettings::setDBName(const QString &value) { write(QStringLiteral("DBName"), value); }
QString TSettings::DBUser() const { return readText(QStringLiteral("DBUser"), QString()); }
void TSettings::setDBUser(const QString &value) { write(QStringLiteral("DBUser"), value); }
QString TSettings::DbBackupPath() const { return readText(QStringLiteral("DBBackupPath"), CommonPath()); }
void TSettings::setDbBackupPath(const QString &value) { write(QStringLiteral("DBBackupPath"), value); }
// Ten years is the longest interval that makes sense for a device.
int TSettings::DefaultIntervallPruefling() const { return readInteger(QStringLiteral("DefaultIntervallPruefling"), 12, 1, 120); }
void TSettings::setDefaultIntervallPruefling(int value) { write(QStringLiteral("DefaultIntervallPruefling"), QString::number(value)); }
int TSettings::KundeID() const { return readInteger(QStringLiteral("KundeID"), 0, 0); }
void TSettings::setKundeID(int value) { write(QStringLiteral("KundeID"), QString::number(value)); }
QString TSettings::StyleName() const { return readText(QStringLiteral("windows"), QStringLiteral("Windows")); }
void TSettings::setStyleName(const QString &value) { write(QStringLiteral("windows"), value); }
QString TSettings::LabelStock() const { return readText(QStringLiteral("Etikettenmaterial"), QString()); }
void TSettings::setLabelStock(const QString &value) { write(QStringLiteral("Etikettenmaterial"), value); }
int TSettings::LastPrueferId() const { return readInteger(QStringLiteral("LetzterPrueferID"), -1); }
void TSettings::setLastPrueferId(int value) { write(QStringLiteral("LetzterPrueferID"), QString::number(value)); }
int TSettings::LastPruefgeraetId() const { return readInteger(QStringLiteral("LetztesPruefgeraetID"), -1); }
void TSettings::setLastPruefgeraetId(int value) { write(QStringLiteral("LetztesPruefgeraetID"), QString::number(value)); }
QString TSettings::LastToolsDatabase() const { return readText(QStringLiteral("LetztePruefDatenbank"), QString()); }
void TSettings::setLastToolsDatabase(const QString &value) { write(QStringLiteral("LetztePruefDatenbank"), value); }

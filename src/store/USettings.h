#pragma once
#include <limits>
#include <QString>
#include <memory>

class QSettings;

// The user's preferences in the per-user settings store (organisation
// "Orbenta", section "Tarnholm"). Every value is text; each read or write is
// a store operation of its own, and a read never writes a default back.
class TSettings {
public:
    TSettings();
    virtual ~TSettings();
    TSettings(const TSettings &) = delete;
    TSettings &operator=(const TSettings &) = delete;

    virtual void setDBName(const QString &value);
    virtual QString DBName() const; // default: CommonPath + "/VELMORA.FDB"

    // The user name for a database reached through a server; its password
    // is never stored here (see PasswordStore.h).
    QString DBUser() const; // default: empty
    void setDBUser(const QString &value);

    QString DbBackupPath() const; // default: CommonPath
    void setDbBackupPath(const QString &value);
    int DefaultIntervallPruefling() const; // months; default 12
    void setDefaultIntervallPruefling(int value);
    int KundeID() const; // default 0
    void setKundeID(int value);
    QString StyleName() const; // stored as "windows"; default "Windows"
    void setStyleName(const QString &value);

    // The label stock last chosen, as the label window writes it; default
    // empty.
    QString LabelStock() const;
    void setLabelStock(const QString &value);

    // The inspector and instrument of the inspection saved last on this
    // workstation; default -1 (none).
    int LastPrueferId() const;
    void setLastPrueferId(int value);
    int LastPruefgeraetId() const;
    void setLastPruefgeraetId(int value);
    // The database those two belong to: the same numbers elsewhere are
    // other people and instruments.
    QString LastToolsDatabase() const;
    void setLastToolsDatabase(const QString &value);

    // The shared documents folder followed by "/Pruefprotokolle"; never stored.
    QString CommonPath() const;

private:
    QString readText(const QString &name, const QString &fallback) const;
    // A whole number in [min, max]; anything else gives fallback, and a
    // number out of range is logged once.
    int readInteger(const QString &name, int fallback, int min = std::numeric_limits<int>::min(),
                    int max = std::numeric_limits<int>::max()) const;
    void write(const QString &name, const QString &value);

    std::unique_ptr<QSettings> FIniFileUsers;
};

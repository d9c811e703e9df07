#pragma once
#include "AppHome.h"
#include "Clock.h"
#include "DbError.h"
#include "NewDatabase.h"
#include "Query.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"
#include "UDM.h"
#include <QSettings>
#include <QTemporaryDir>

// The data module on the demo database (customer 101 with the devices
// "Drucker" 1001 and "Mikrowelle" 1002, two inspections of the printer),
// with a stand-in for the main window's customer list.
struct DomainFixture : IMainView {
    TAppHome home;
    TScriptedDialogs dialogs;
    std::optional<int> customer = 101;
    std::unique_ptr<TfrmDM> dm;

    explicit DomainFixture(const QStringList &changes = {})
    {
        home.createDatabase(changes);
        dm = std::make_unique<TfrmDM>();
        dm->setMainView(this);
        if (!dm->Connect())
            throw std::runtime_error(dialogs.messages().join('\n').toStdString());
        dm->setPrueflingeSQL(); // as the main window does after every connection
    }
    ~DomainFixture() override { dm->setMainView(nullptr); }

    void showConnectionState(const QString &, const QString &) override {}
    void showConnectionState(const QString &) override {}
    void clearCustomerList() override {}
    std::optional<int> selectedCustomerId() const override { return customer; }
    void fillCbKunden() override {}
    void Init2() override {}

    TDataSet &devices() { return dm->dsetPrueflinge; }
    TDataSet &inspections() { return dm->dsetPruefungen; }
    TField *device(const char *name) { return dm->dsetPrueflinge.fieldByName(QString::fromLatin1(name)); }
    TField *inspection(const char *name) { return dm->dsetPruefungen.fieldByName(QString::fromLatin1(name)); }
    qint64 scalar(const QString &sql)
    {
        TQuery q(&dm->Database);
        q.setSql(sql);
        q.execQuery();
        return q.asInteger(0);
    }
    QString text(const QString &sql)
    {
        TQuery q(&dm->Database);
        q.setSql(sql);
        q.execQuery();
        return q.asString(0);
    }
    void chooseCustomer(int id)
    {
        customer = id;
        dm->setPrueflingeSQL();
    }
};

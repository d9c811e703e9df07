#include "UDM.h"
#include "ConnectionLoss.h"
#include "BackgroundUpgrade.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "DeviceSuggestions.h"
#include "Dialogs.h"
#include "NewDatabase.h"
#include "OpenFailure.h"
#include "Query.h"
#include "UFirebirdExt.h"
#include "SchemaVersion.h"
#include "USettings.h"
#include "DatabaseEvents.h"
#include "ServerLogin.h"
#include <QPointer>
#include <ibase.h>

TfrmDM *frmDM = nullptr;

void declareTableStatements(TDataSet &dataSet, const QString &table, const QStringList &columns)
{
    const QString list = columns.join(QStringLiteral(", "));
    QStringList params, assignments;
    for (const QString &c : columns) {
        params << u':' + c;
        if (c != u"ID")
            assignments << c + QStringLiteral(" = :") + c;
    }
    dataSet.insertSql = {QStringLiteral("INSERT INTO %1 (%2)").arg(table, list),
                         QStringLiteral("VALUES (%1)").arg(params.join(QStringLiteral(", ")))};
    dataSet.modifySql = {QStringLiteral("UPDATE %1 SET %2").arg(table, assignments.join(QStringLiteral(", "))),
                         QStringLiteral("WHERE ID = :OLD_ID")};
    dataSet.deleteSql = {QStringLiteral("DELETE FROM %1 WHERE ID = :OLD_ID").arg(table)};
    dataSet.refreshSql = {QStringLiteral("SELECT %1 FROM %2 WHERE ID = :OLD_ID").arg(list, table)};
    dataSet.lockSql = {QStringLiteral("SELECT ID FROM %1 WHERE ID = :OLD_ID WITH LOCK").arg(table)};
}

TfrmDM::TfrmDM(QObject *parent) : QObject(parent), qryCheckPruefling(std::make_unique<TQuery>(&Database))
{
    frmDM = this;
    Database.params = connectionParams();
    Database.sqlDialect = 3;
    Database.afterConnect = [this](TDatabase &) { DatabaseAfterConnect(); };
    Database.afterDisconnect = [this](TDatabase &) { DatabaseAfterDisconnect(); };
    // A server that went away: the status bar stops saying "Verbunden".
    setConnectionLossHandler([self = QPointer<TfrmDM>(this)] {
        if (self && self->FMainView && self->FFormValid && self->Database.isServer())
            self->FMainView->showConnectionState(QStringLiteral("Keine Verbindung zum Server"));
    });
    declareMasterData();
    declareDevices();
    declareInspections();
    declareLimits();
    declareReports();
    declareDueReport();
    declareProtocols();
    DataModuleCreate();
}

TfrmDM::~TfrmDM()
{
    setConnectionLossHandler({});
    DataModuleDestroy();
    qryCheckPruefling.reset();
    Database.close();
    if (frmDM == this)
        frmDM = nullptr;
}

void TfrmDM::DataModuleCreate()
{
    Database.close();
    FFirebirdExt = std::make_unique<TFirebirdExt>(&Database);
    FSettings = std::make_unique<TSettings>();
    FGrenzwerte = std::make_unique<TGrenzwerte>(&Database);
    DefaultPrueferId = -1;
    DefaultPruefgeraeteId = -1;
    FSQLReportPruefungen = dsetReportPruefungen.selectSql();
    FSQLReportInventar = dsetReportInventar.selectSql();
    // The embedded engine is the client library itself here; nothing to set.
    PrueflingeSortField = QStringLiteral("BEZEICHNUNG");
    PrueflingeSortDir = QStringLiteral("ASC");
    PrueflingeSortColumn = 1;
}

void TfrmDM::DataModuleDestroy()
{
    FSQLReportInventar.clear();
    FSQLReportPruefungen.clear();
    FGrenzwerte.reset();
    FSettings.reset();
    FFirebirdExt.reset();
}

void TfrmDM::DatabaseAfterConnect()
{
    if (FMainView && FFormValid)
        FMainView->showConnectionState(QStringLiteral("Datenbank Verbunden"), Database.databaseName());
}

void TfrmDM::DatabaseAfterDisconnect()
{
    deviceSuggestions().forget();
    if (FMainView && FFormValid) {
        FMainView->showConnectionState(QStringLiteral("Datenbank nicht verbunden"));
        FMainView->clearCustomerList();
        FMainView->enableDatabaseCommands(false);
    }
}

QList<TDataSet *> TfrmDM::editableDataSets()
{
    return {&dsetPruefungen, &dsetPrueflinge, &dsetKunden, &dsetPruefer, &dsetPruefgeraete, &dsetAuftragnehmer};
}

void TfrmDM::cancelEdits()
{
    for (TDataSet *d : QList<TDataSet *>(Database.dataSets())) {
        try {
            d->cancel();
        } catch (const std::exception &) {
            // A rule refusing the cancel must not keep the program from ending.
        }
    }
}

bool TfrmDM::CheckApplication(int Id, const QString &Value) { return hasSettingsRow(Database, Id, Value); }

bool TfrmDM::Connect() { return Connect(FSettings->DBName()); }

bool TfrmDM::Connect(const QString &path)
{
    try {
        Database.close();
        if (!prepareLogin(path))
            return false;
        Database.setDatabaseName(path);
        Database.open();
    } catch (const EDatabaseError &e) {
        if (e.hasEngineCode(isc_login))
            loginRefused(path);
        dialogs().message(openFailureMessage(path, e), IDialogs::Icon::Error);
        return false;
    } catch (const std::exception &) {
        dialogs().message(kDatabaseInUse, IDialogs::Icon::Error);
        return false;
    }
    try {
        // Another program's file is never altered: the identity comes first.
        if (!isVelmoraDatabase(Database)) {
            Database.close();
            throw EDatabaseError(foreignDatabaseText(path));
        }
        // A long upgrade runs off the window's thread, with its progress shown.
        upgradeOnOwnConnection(Database);
        Database.open();
        Transaction.start();
        for (TDataSet *d : {&dsetAuftragnehmer, &dsetKunden, &dsetPruefer, &dsetPruefgeraete, &dsetPrueflinge,
                            &dsetPrueferLookup, &dsetPruefgeraeteLookup, &dsetPruefungen})
            d->open();
        setPrueflingeSQL();
        FGrenzwerte->setDefaults();
        dsetGrenzwert1.open();
        startChangeEvents();
        return true;
    } catch (const EWorkCancelled &) {
        Database.close(); // the next opening resumes the upgrade
        dialogs().message(kUpgradeCancelled, IDialogs::Icon::Warning);
        return false;
    } catch (const EAbort &) {
        return false;
    } catch (const ENewerSchema &e) {
        Database.close(); // a newer program's file stays as it is
        dialogs().message(e.message(), IDialogs::Icon::Error);
        return false;
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
        return false;
    }
}

int TfrmDM::checkPruefling(int Id, int KundeId, const QString &Nummer)
{
    if (!qryCheckPruefling->prepared()) {
        qryCheckPruefling->setSql(
            QStringLiteral("SELECT COUNT(*) FROM Prueflinge WHERE ID !=:id AND KUNDEN_ID =:kunden_id AND NUMMER =:nummer"));
        qryCheckPruefling->prepare();
    }
    qryCheckPruefling->param(0).setAsInteger(Id);
    qryCheckPruefling->param(1).setAsInteger(KundeId);
    qryCheckPruefling->param(2).setAsString(Nummer);
    qryCheckPruefling->execQuery();
    const int count = qryCheckPruefling->eof() ? -1 : static_cast<int>(qryCheckPruefling->asInteger(0));
    qryCheckPruefling->close();
    return count;
}

#pragma once
#include "DataSet.h"
#include "DataSource.h"
#include "Database.h"
#include "DueDates.h"
#include "ReportSelection.h"
#include "UGrenzwerte.h"
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class TSettings;
class TDatabaseEvents;
struct TServerLogin;
struct Measurement;
class TFirebirdExt;
class TQuery;

// What the data module needs of the main window. The main window registers
// itself when its creation begins and withdraws when its destruction begins.
class IMainView {
public:
    virtual ~IMainView() = default;
    virtual void showConnectionState(const QString &state, const QString &fileName) = 0;
    virtual void showConnectionState(const QString &state) = 0; // keeps the file name shown
    virtual void clearCustomerList() = 0;
    virtual std::optional<int> selectedCustomerId() const = 0;
    virtual void fillCbKunden() = 0;
    virtual void Init2() = 0;
    // Asks about every edit still open in any window before the connection
    // closes; false when the user chose to go on editing.
    virtual bool finishOpenEdits() { return true; }
    // The commands that need a connection follow it.
    virtual void enableDatabaseCommands(bool connected) { (void)connected; }
    // An inspection was stored or deleted: what is due may have changed.
    virtual void dueDatesChanged() {}
    // Another workstation changed devices or inspections (and customers,
    // when customers is true): the lists are read again, keeping the
    // chosen customer and device.
    virtual void refreshLists(bool customers) { (void)customers; }
};

// What the device rules need of the device window.
class IDeviceView {
public:
    virtual ~IDeviceView() = default;
    virtual void showImage(const QString &schutzklasse) = 0;
    virtual void fillBezeichnungen() = 0;
    virtual void fillOrte() = 0;
    virtual void showWindow() = 0; // not modally; brings a visible window forward
};

// What the inspection rules need of the inspection window.
class IInspectionView {
public:
    virtual ~IInspectionView() = default;
    virtual void setComparisonHeading(const QString &text) = 0; // its Label9
    // A measured value of the current inspection changed and was judged.
    virtual void valueJudged() {}
    virtual void showWindow() = 0;
};

// The data module: the one connection, the one transaction, every record set
// and query of the program and their rules. It shows nothing itself; its
// messages go through the dialog seam.
class TfrmDM : public QObject {
    Q_OBJECT
public:
    explicit TfrmDM(QObject *parent = nullptr);
    ~TfrmDM() override;

    // Opens the database named in the settings, upgrades it, checks that it is
    // ours and opens the record sets; shows its own messages; true on success.
    bool Connect();
    // The same for a file named here instead of in the settings.
    bool Connect(const QString &fileName);
    bool CheckApplication(int Id, const QString &Value);
    // The login for a database reached through a server, for this run: the
    // connection dialog hands over what was typed there.
    void setServerLogin(const QString &databaseName, const TServerLogin &login);
    void forgetServerLogin();
    // False after the server refused the login (or before one was given).
    bool hasServerLogin() const { return FServerLogin != nullptr; }
    // Re-reads what the named change events concern (UpgradeChangeEvents.h)
    // once nothing is being edited.
    void changesPosted(const QStringList &events);
    bool listensForChanges() const;
    // The record sets the windows edit, details before their masters.
    QList<TDataSet *> editableDataSets();
    // Before the connection closes: every open edit is stored or dropped as
    // the user answers; false when the user chose to go on editing.
    bool finishOpenEdits() { return !FMainView || FMainView->finishOpenEdits(); }
    // Cancels every edit in progress, for an end nobody can be asked about.
    void cancelEdits();

    // The report record sets, assembled from their saved base statements.
    // Opens the record sets of a report selection: the customer, the
    // inspections or devices, with their filters.
    void openReport(const TReportSelection &selection);
    // The days on which a customer's devices were inspected, newest first.
    QList<QDate> inspectionDays(int kundeId);
    // The names and the places that devices of all customers carry, sorted,
    // for the device window's suggestions.
    QStringList deviceNames();
    QStringList devicePlaces();
    // Every customer's key and name, by name.
    QList<QPair<int, QString>> customerNames();
    void openReportPruefungenForDay(int kundeId, const QDate &day);
    void openReportPruefungenForInspection(int pruefungId);
    void openReportInventar(int kundeId, const std::optional<QDate> &dueBy = std::nullopt);
    // The inventory list of a customer whose "Faellig" marks devices due by
    // dueDate; onlyDue lists only those.
    void openReportInventar(int kundeId, const QDate &dueDate, bool onlyDue);
    // The due list up to a day, of one customer or of all, of devices whose
    // place contains a text (any place when empty).
    void openReportFaelligkeiten(const QDate &until, const std::optional<int> &kundeId, const QString &placeText = {});
    void setPrueflingeSQL();
    // The inspections of the open inspection report; once its protocols were
    // printed or saved as PDF, closing them makes every later change a
    // correction that keeps the earlier version.
    QList<int> reportedInspections();
    void closeReportedInspections();
    // The quiet note beside the typed value of a measurement of the current
    // inspection, against its limit and the earlier inspection shown with it.
    QString valueNote(const Measurement &measurement);
    // Every active device of every active customer (or of one customer)
    // whose next inspection falls on or before until, or that was never
    // inspected; by customer, then by date.
    QList<TDueDevice> dueDevices(const QDate &until, const std::optional<int> &kundeId = std::nullopt);
    // What of a customer's devices is overdue and due within 30 days, today.
    TDueCounts customerDueCounts(int kundeId);
    int checkPruefling(int Id, int KundeId, const QString &Nummer);

    TRecGrenzwert GetGrenzwert(int Index) const { return FGrenzwerte->GetGrenzwert(Index); }
    double GetGrenzwertValue(int Index) const { return FGrenzwerte->GetValue(Index); }
    void SetGrenzwertValue(int Index, double Value) { FGrenzwerte->SetValue(Index, Value); }

    TSettings *Settings() const { return FSettings.get(); }
    TGrenzwerte *Grenzwerte() const { return FGrenzwerte.get(); }
    TFirebirdExt *FirebirdExt() const { return FFirebirdExt.get(); }
    int DefaultPrueferId = -1;
    int DefaultPruefgeraeteId = -1;
    QString PrueflingeSortField = QStringLiteral("BEZEICHNUNG");
    QString PrueflingeSortDir = QStringLiteral("ASC");
    int PrueflingeSortColumn = 1;
    const QStringList &SQLReportPruefungen() const { return FSQLReportPruefungen; }
    const QStringList &SQLReportInventar() const { return FSQLReportInventar; }
    int AuswahlPrueflingePreview = 0;
    bool FormValid() const { return FFormValid; }
    void setFormValid(bool valid) { FFormValid = valid; }

    IMainView *mainView() const { return FMainView; }
    void setMainView(IMainView *view) { FMainView = view; }
    IDeviceView *deviceView() const { return FDeviceView; }
    void setDeviceView(IDeviceView *view) { FDeviceView = view; }
    IInspectionView *inspectionView() const { return FInspectionView; }
    void setInspectionView(IInspectionView *view) { FInspectionView = view; }

    // Components.
    TDatabase Database;
    TTransaction Transaction{&Database};
    TDataSet dsetAuftragnehmer{&Database}, dsetKunden{&Database}, dsetPruefer{&Database}, dsetPruefgeraete{&Database};
    TDataSet dsetPrueflinge{&Database}, dsetPruefungen{&Database};
    TDataSet dsetPrueferLookup{&Database}, dsetPruefgeraeteLookup{&Database};
    TDataSet dsetPruefungenVorher{&Database}, dsetPruefungenLetzter{&Database};
    // One read-only record set over the limit row of each measurement, in
    // the order of the measurements.
    std::vector<std::unique_ptr<TDataSet>> dsetGrenzwerte = limitRecordSets(&Database);
    TDataSet &dsetGrenzwert1 = *dsetGrenzwerte.at(0); // beside the device's own limit
    TDataSet &dsetGrenzwert3 = *dsetGrenzwerte.at(2); // with the class-I limit
    TDataSet dsetAnzahlPrueflinge{&Database};
    TDataSet dsetReportPruefungen{&Database}, dsetReportInventar{&Database}, dsetReportKunde{&Database};
    // The due list on paper: the rows of dueDevices() with their status.
    TDataSet dsetReportFaelligkeiten{&Database};
    std::unique_ptr<TQuery> qryCheckPruefling;

    TDataSource dsrcAuftragnehmer{nullptr, &dsetAuftragnehmer}, dsrcKunden{nullptr, &dsetKunden},
        dsrcPruefer{nullptr, &dsetPruefer}, dsrcPruefgeraete{nullptr, &dsetPruefgeraete},
        dsrcPrueflinge{nullptr, &dsetPrueflinge}, dsrcPruefungen{nullptr, &dsetPruefungen},
        dsrcPruefungenVorher{nullptr, &dsetPruefungenVorher}, dsrcGrenzwert1{nullptr, &dsetGrenzwert1},
        dsrcAnzahlPrueflinge{nullptr, &dsetAnzahlPrueflinge};

private:
    void DataModuleCreate();
    void DataModuleDestroy();
    void DatabaseAfterConnect();
    void DatabaseAfterDisconnect();
    // Server connections (UDM_Server.cpp): the attach parameters for a
    // database name, asking for a password when none is known; false when
    // the user gave none.
    bool prepareLogin(const QString &databaseName);
    void loginRefused(const QString &databaseName);
    void startChangeEvents();
    void applyPendingChanges();
    bool anythingEditing();
    std::unique_ptr<TServerLogin> FServerLogin;
    QString FServerLoginDatabase;
    std::unique_ptr<TDatabaseEvents> FChangeEvents;
    QStringList FPendingChanges;

    // Declarations of the record sets, each in the file of its subject.
    void declareMasterData();
    void declareDevices();
    void declareInspections();
    void declareLimits();
    static std::vector<std::unique_ptr<TDataSet>> limitRecordSets(TDatabase *database);
    void declareReports();
    void declareDueReport();
    void declareProtocols();
    void declareProtocolFields();

    std::unique_ptr<TFirebirdExt> FFirebirdExt;
    std::unique_ptr<TSettings> FSettings;
    std::unique_ptr<TGrenzwerte> FGrenzwerte;
    QStringList FSQLReportPruefungen, FSQLReportInventar;
    // The database's identity as the protocols print it: read once per
    // opening of the protocols, not once per protocol.
    std::optional<QString> FReportDatabaseIdentity;
    QDate FInventoryDueDate;
    bool FFormValid = false;
    IMainView *FMainView = nullptr;
    IDeviceView *FDeviceView = nullptr;
    IInspectionView *FInspectionView = nullptr;

    // Device rules.
    void dsetPrueflingeAfterOpen();
    void dsetPrueflingeNewRecord();
    void dsetPrueflingeLAENGEChange();
    void dsetPrueflingeGRENZWERT0Change();
    void dsetPrueflingeBeforePost();
    void dsetPrueflingeAfterPost();
    void dsetPrueflingeAfterScroll();
    void dsrcPrueflingeStateChange();
    // Report rules.
    void dsetReportPruefungenCalcFields();
    void dsetReportPruefungenProtocolFields();
    // Fingerprint, version and the latest correction of the report row.
    void dsetReportPruefungenFingerprintFields();
    // The stored limit of a measurement for the protection class of the
    // current report row.
    double reportedLimit(const Measurement &measurement);
    void dsetReportPruefungenFilterRecord(bool &accept);
    void dsetReportInventarCalcFields();
    void dsetReportInventarFilterRecord(bool &accept);
    void dsetReportFaelligkeitenCalcFields();
    QString FDueReportPlace;
    void openReportPruefungen(const QString &appendedLine, const QList<TValue> &params);
    // Master-data rules.
    void dsetKundenBeforeDelete();
    // Beeps, shows message and aborts when countSql (with :ID of the current
    // row) counts rows that still refer to it.
    void refuseDeleteWhileUsed(TDataSet &dataSet, const QString &countSql, const QString &message);
    void reloadCustomerList();
    // Inspection rules.
    void judge(const Measurement &measurement);
    // The limit the current device is judged against.
    double currentLimit(const Measurement &measurement);
    void dsetPruefungenCalcFields();
    void dsetPruefungenNewRecord();
    void dsetPruefungenAfterPost();
    // Asks for the reason when a closed inspection is changed.
    void dsetPruefungenBeforePost();
    std::optional<QString> FCorrectionReason; // of the post under way
    QList<int> FDeletedInspections;           // of the device being deleted
    void rereadComparisons();
    void dsrcPruefungenStateChange();
};

// The protective-conductor limit in Ohm for a cable of the given length in
// metres (empty: no variable cable), to two places, at most 1.00.
TDecimal protectiveConductorLimit(std::optional<double> lengthMetres);
// Adds a pass flag shown with the given texts ("Ja;Nein").
TField *addFlagField(TDataSet &dataSet, const QString &name, const QString &texts);
// The result of the inspection in the current record of a record set with
// the pass flags: the visual inspection and the function test passed, and
// every measurement taken (flag not empty) passed.
bool inspectionPassed(TDataSet &record);
// Today plus a number of calendar months, at midnight; the day is clamped
// to the end of a shorter month.
QDateTime nextInspectionDate(const QDate &today, int months);

// A select column with the next inspection date of the latest inspection
// (by date, then by key) of the device in the row of table PRUEFLINGE.
QString latestNextInspectionColumn();

// What the protocol's code holds: "VPF1;P<inspection key>;H<fingerprint>".
QString protocolCodeText(int pruefungId, const QString &fingerprint);

extern TfrmDM *frmDM;

// Declares the four statements that change one table by its key and the
// refresh statement, from the columns the record set reads.
void declareTableStatements(TDataSet &dataSet, const QString &table, const QStringList &columns);

#pragma once
#include "UDM.h"
#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmMain;
}
class QKeyEvent;
class QLabel;
class TDeviceAttentionMarks;
class TfrmDueDates;
class TPreviewExt;

// The user's workplace: the customer list, the customer's devices and the
// inspections of the current device, and every command in the menu. Its
// creation connects the database; its destruction stores the customer and
// the style.
class TfrmMain : public QMainWindow, public IMainView {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    void Init2() override;
    void fillCbKunden() override;
    void selectCbKunden(int kundeId);
    void showPrueflinge();
    // Shows the first-start window when the start found no database.
    void offerFirstStart();

    // IMainView
    void showConnectionState(const QString &state, const QString &fileName) override;
    void showConnectionState(const QString &state) override;
    void clearCustomerList() override;
    std::optional<int> selectedCustomerId() const override;
    bool finishOpenEdits() override;
    void enableDatabaseCommands(bool connected) override;
    void dueDatesChanged() override;
    void refreshLists(bool customers) override;

    Ui::TfrmMain *ui() const { return m_ui.get(); }
    QLabel *statusPanel(int index) const;
    QStringList FStyleNames;
    int FCurrentStyleNum = 0;
    bool FPrueflingLocate = false;

    // Opens the report window: mode 0 for the current inspection, mode 1
    // for a customer and an inspection day.
    void showBericht(int mode);
    // Shows a report window until it is closed; nothing for none.
    void showReportWindow(const std::unique_ptr<TPreviewExt> &window);
    void searchStep();
    void sortByColumn(int column, const QString &fieldName);
    // The "Fälligkeiten" window, read afresh; a device chosen there is
    // shown here with its customer.
    void showDueDates();
    void showDevice(int kundeId, int prueflingId);
    // A label's payload typed by a scanner into the search field or the
    // device list, with Enter: selects its customer and device and puts
    // the focus on "Neue Prüfung"; an unknown device is named in a
    // message. False when the text is no payload.
    bool showScannedDevice(const QString &text);
    // The label window for the current device, the selected ones or a day.
    void showLabels();
    // Re-reads what an import, an undone batch or a created device changed.
    void importChangedData();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void setInitialSize();
    void FormDestroy();
    void buildStyleMenu();
    void addRefreshCommand();
    bool applyStyle(int index);
    void bindControls();
    void connectCommands();
    void addImportCommands(); // UMainImport.cpp
    void Verbinden1Click();
    void Trennen1Click();
    // Recomputes the fingerprints of the database and shows what differs.
    void Pruefen1Click();
    void setupNavigators();
    void updateDeviceCommands();
    void deleteCurrentRow(TDataSet &dataSet);
    // The device grid marks what needs attention.
    void showAttentionMarks();
    // The status panel with what of the selected customer is due.
    void addDuePanel();
    void showDueCounts();
    // The device count, the device commands and the due counts of the
    // selected customer.
    void showCustomerFigures();
    // "Anzahl Prüflinge" of the selected customer, read afresh.
    void showDeviceCount();
    // Scanning and labels.
    void setupScanning();
    // Keeps a key typed into the device list, for a scanner's payload;
    // true when it was taken from the list.
    bool collectScannedKey(const QKeyEvent &key);
    QList<int> selectedDeviceIds() const;
    QString m_typedIntoList;
    QElapsedTimer m_lastTypedKey;

    std::unique_ptr<Ui::TfrmMain> m_ui;
    TChangeLink m_inspectionLink; // enables "Bericht erzeugen"
    QStringList m_styleKeys; // the Qt style of each entry of FStyleNames
    QLabel *m_panels[2] = {nullptr, nullptr};
    QLabel *m_duePanel = nullptr;
    TfrmDueDates *m_dueDates = nullptr;
    TDeviceAttentionMarks *m_attentionMarks = nullptr;
    bool m_firstStartPending = false;
};

extern TfrmMain *frmMain;

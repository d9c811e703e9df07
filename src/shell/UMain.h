#pragma once
#include "UDM.h"
#include <QMainWindow>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmMain;
}
class QLabel;
class TfrmDueDates;

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
    void searchStep();
    void sortByColumn(int column, const QString &fieldName);
    // The "Fälligkeiten" window, read afresh; a device chosen there is
    // shown here with its customer.
    void showDueDates();
    void showDevice(int kundeId, int prueflingId);

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
    void Verbinden1Click();
    void Trennen1Click();
    void setupNavigators();
    void updateDeviceCommands();
    void deleteCurrentRow(TDataSet &dataSet);
    // The device grid marks what needs attention.
    void showAttentionMarks();
    // The status panel with what of the selected customer is due.
    void addDuePanel();
    void showDueCounts();

    std::unique_ptr<Ui::TfrmMain> m_ui;
    TChangeLink m_inspectionLink; // enables "Bericht erzeugen"
    QStringList m_styleKeys; // the Qt style of each entry of FStyleNames
    QLabel *m_panels[2] = {nullptr, nullptr};
    QLabel *m_duePanel = nullptr;
    TfrmDueDates *m_dueDates = nullptr;
};

extern TfrmMain *frmMain;

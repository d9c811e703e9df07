#pragma once
#include "Attention.h"
#include "DueDates.h"
#include "ReportSelection.h"
#include <QWidget>

class QComboBox;
class DateField;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The due list of all customers, grouped by customer with a count per
// customer and in total. Choosing a device (double-click or Enter) tells the
// main window which customer and device to show. "Schließen" and Escape
// close it.
class TfrmDueDates : public QWidget {
    Q_OBJECT
public:
    explicit TfrmDueDates(QWidget *parent = nullptr);
    // Reads the list again from the database.
    void reload();
    // The due list report of what the window shows: horizon, customer, place.
    TReportSelection reportSelection() const;

signals:
    void deviceChosen(int kundeId, int prueflingId);
    void printRequested(const TReportSelection &selection);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void fillCustomerFilter();
    void showList(); // the read list through the filters
    void chooseItem(QTreeWidgetItem *item);
    void readMarks();
    static void showMarks(QTreeWidgetItem *item, const TAttention &attention);
    QDate horizonEnd() const;
    std::optional<int> chosenCustomer() const;

    QComboBox *m_horizon = nullptr;
    DateField *m_until = nullptr;
    QComboBox *m_customer = nullptr;
    QLineEdit *m_place = nullptr;
    QTreeWidget *m_tree = nullptr;
    QLabel *m_total = nullptr;
    QList<TDueDevice> m_devices;
    QHash<int, TAttention> m_attention; // of the listed devices, by key
    bool m_marksPending = false;
};

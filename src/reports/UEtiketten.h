#pragma once
#include "LabelData.h"
#include "LabelStock.h"
#include "PageStream.h"
#include "ReportProject.h"
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmEtiketten;
}
class TPreview;

// Which devices the label window starts with: the current one, those
// selected in the device list, and the customer whose inspection days it
// offers.
struct TLabelChoice {
    int currentDevice = -1;
    QList<int> selectedDevices;
    int customerId = -1;
};

// The label window: which devices get a label, the label stock (kept in the
// settings), the first free position of a partly used sheet, and the
// labels' pages previewed, printed or saved as PDF.
class TfrmEtiketten : public QDialog {
    Q_OBJECT
public:
    TfrmEtiketten(const TLabelChoice &choice, QWidget *parent = nullptr);
    ~TfrmEtiketten() override;

    Ui::TfrmEtiketten *ui() const { return m_ui.get(); }
    TPreview *preview() const { return m_preview; }
    const TPageStream &pages() const { return m_stream; }
    // The stock as the controls describe it.
    TLabelStock chosenStock() const;

private:
    void fillStocks();
    void fillDays();
    void showStock(const TLabelStock &stock);
    void stockChosen();
    void openRecords();
    void updateLabels();
    void showPageNumber();

    std::unique_ptr<Ui::TfrmEtiketten> m_ui;
    TLabelChoice m_choice;
    TLabelData m_data;
    TReportProject m_project;
    QString m_projectError;
    TPageStream m_stream;
    TPreview *m_preview;
    bool m_loading = false;
};

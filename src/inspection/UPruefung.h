#pragma once
#include "UDM.h"
#include "EditingWindow.h"
#include <memory>

namespace Ui {
class TfrmPruefung;
}
class RecordChangeLink;
class QLabel;

// Where one inspection of the current device is entered, beside the limits
// and the matching values of an earlier inspection. Lives for the whole
// run; the inspection rules show it when an inspection is begun or edited.
class TfrmPruefung : public TEditingWindow, public IInspectionView {
    Q_OBJECT
public:
    explicit TfrmPruefung(QWidget *parent = nullptr);
    ~TfrmPruefung() override;

    // IInspectionView
    void setComparisonHeading(const QString &text) override;
    void showWindow() override { TEditingWindow::showWindow(); }
    void valueJudged() override { showValueNotes(); }

    void setGrenzwerte();
    void btnCopyClick();
    // Moves the inspection date (the next date follows it unless set by
    // hand) or the next date alone by whole days.
    void movePruefdatum(int days);
    void moveNextPruefdatum(int days);

    Ui::TfrmPruefung *ui() const { return m_ui.get(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void bindControls();
    // A quiet note beside each value: near its limit, or worse than before;
    // failing values and a failed inspection in colour and with a mark.
    void addValueNotes();
    void showValueNotes();
    // Tab runs through the checks, the values, the remark, who and with what,
    // then the dates; Enter in a value moves to the next one.
    void arrangeKeyboard();

    std::unique_ptr<Ui::TfrmPruefung> m_ui;
    std::unique_ptr<RecordChangeLink> m_recordLink;
    QLabel *m_verdictMark = nullptr;
};

extern TfrmPruefung *frmPruefung;

#pragma once
#include "UDM.h"
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmPruefung;
}

// Where one inspection of the current device is entered, beside the limits
// and the matching values of an earlier inspection. Lives for the whole
// run; the inspection rules show it when an inspection is begun or edited.
class TfrmPruefung : public QDialog, public IInspectionView {
    Q_OBJECT
public:
    explicit TfrmPruefung(QWidget *parent = nullptr);
    ~TfrmPruefung() override;

    // IInspectionView
    void setComparisonHeading(const QString &text) override;
    void showWindow() override;

    void setGrenzwerte();
    void btnCopyClick();
    // Moves the inspection date (and, for a new inspection, the next date
    // with it) or the next date alone by whole days.
    void movePruefdatum(int days);
    void moveNextPruefdatum(int days);

    Ui::TfrmPruefung *ui() const { return m_ui.get(); }

public slots:
    void reject() override; // Escape: as "Abbrechen und Schließen"

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void bindControls();
    void btnSaveClick();
    void btnCancelClick();

    std::unique_ptr<Ui::TfrmPruefung> m_ui;
};

extern TfrmPruefung *frmPruefung;

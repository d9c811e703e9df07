#pragma once
#include <QDialog>

// Where one inspection of the current device is entered.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TfrmPruefung : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPruefung(QWidget *parent = nullptr);
    ~TfrmPruefung() override;
};

extern TfrmPruefung *frmPruefung;

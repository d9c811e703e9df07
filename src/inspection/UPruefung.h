#pragma once
#include "UDM.h"
#include <QDialog>

class QLabel;

// Where one inspection of the current device is entered. Lives for the
// whole run; the inspection rules show it when an inspection is begun or
// edited.
class TfrmPruefung : public QDialog, public IInspectionView {
    Q_OBJECT
public:
    explicit TfrmPruefung(QWidget *parent = nullptr);
    ~TfrmPruefung() override;

    void setComparisonHeading(const QString &text) override;
    void showWindow() override;

    QLabel *Label9; // heading of the comparison column
};

extern TfrmPruefung *frmPruefung;

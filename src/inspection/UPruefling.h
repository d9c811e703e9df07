#pragma once
#include <QDialog>

// Where one device of the selected customer is entered and changed.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TfrmPruefling : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPruefling(QWidget *parent = nullptr);
    ~TfrmPruefling() override;
};

extern TfrmPruefling *frmPruefling;

#pragma once
#include <QDialog>

// Keeps the test instruments.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TdlgPruefgeraete : public QDialog {
    Q_OBJECT
public:
    explicit TdlgPruefgeraete(QWidget *parent = nullptr);
    ~TdlgPruefgeraete() override;
};

extern TdlgPruefgeraete *dlgPruefgeraete;

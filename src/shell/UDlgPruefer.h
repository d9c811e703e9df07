#pragma once
#include <QDialog>

// Keeps the inspectors.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TdlgPruefer : public QDialog {
    Q_OBJECT
public:
    explicit TdlgPruefer(QWidget *parent = nullptr);
    ~TdlgPruefer() override;
};

extern TdlgPruefer *dlgPruefer;

#pragma once
#include <QDialog>

// Keeps the customers.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TdlgKunden : public QDialog {
    Q_OBJECT
public:
    explicit TdlgKunden(QWidget *parent = nullptr);
    ~TdlgKunden() override;
};

extern TdlgKunden *dlgKunden;

#pragma once
#include <QDialog>

class QLabel;

// A small frameless panel that asks the user to wait while a report is
// produced. Its label takes the report engine's progress text.
class TfrmStatus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStatus(QWidget *parent = nullptr);
    ~TfrmStatus() override;
    QLabel *Label1;
};

extern TfrmStatus *frmStatus;

#pragma once
#include <QDialog>

class QLabel;

// A small frameless panel that asks the user to wait while a report is
// produced. Its label takes the report engine's progress text; "Abbrechen"
// asks the report to stop. While it shows, only it takes clicks and keys.
class TfrmStatus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmStatus(QWidget *parent = nullptr);
    ~TfrmStatus() override;
    QLabel *Label1;
    // Shows the panel for a new report; cancelRequested() is false again.
    void start(const QString &text);
    bool cancelRequested() const { return m_cancelRequested; }

private:
    bool m_cancelRequested = false;
};

extern TfrmStatus *frmStatus;

#pragma once
#include <QDialog>

// Copies the database file under a dated name into the backup folder.
// Lives for the whole run and is hidden, not destroyed, when closed.
class TfrmDbBackup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDbBackup(QWidget *parent = nullptr);
    ~TfrmDbBackup() override;
};

extern TfrmDbBackup *frmDbBackup;

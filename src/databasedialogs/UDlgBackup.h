#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class TfrmDbBackup;
}

// Copies the database file under a name with the date and time into the
// backup folder, which is chosen once and remembered. The data module lets
// go of the file for the copy and connects again afterwards.
class TfrmDbBackup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDbBackup(QWidget *parent = nullptr);
    ~TfrmDbBackup() override;
    Ui::TfrmDbBackup *ui() const { return m_ui.get(); }

    void btnOpenPathClick();
    void btnCopyClick();
    QString FNewFilename;

private:
    std::unique_ptr<Ui::TfrmDbBackup> m_ui;
};

extern TfrmDbBackup *frmDbBackup;

#include "UDlgBackup.h"

TfrmDbBackup *frmDbBackup = nullptr;

TfrmDbBackup::TfrmDbBackup(QWidget *parent) : QDialog(parent)
{
    frmDbBackup = this;
    setObjectName(QStringLiteral("TfrmDbBackup"));
    setWindowTitle(QStringLiteral("Backup Datenbank"));
}

TfrmDbBackup::~TfrmDbBackup()
{
    if (frmDbBackup == this)
        frmDbBackup = nullptr;
}

#include "UDlgBackup.h"
#include "Clock.h"
#include "DatabaseFiles.h"
#include "Dialogs.h"
#include "UDM.h"
#include "USettings.h"
#include "ui_UDlgBackup.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>

TfrmDbBackup *frmDbBackup = nullptr;

namespace {

// The remembered backup folder when it is there; else the database's own
// folder; else the home folder. A proposal the copy could not reach is none.
QString proposedFolder()
{
    const QString stored = frmDM->Settings()->DbBackupPath();
    if (QFileInfo(stored).isDir())
        return stored;
    const QString database = frmDM->Database.databaseName();
    if (frmDM->Database.isLocalFile() && !database.isEmpty() && QFileInfo(database).absoluteDir().exists())
        return QFileInfo(database).absolutePath();
    return QDir::homePath();
}

} // namespace

TfrmDbBackup::TfrmDbBackup(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TfrmDbBackup>())
{
    if (!frmDbBackup)
        frmDbBackup = this; // the instance made at start; the menu makes its own
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FNewFilename = backupFileName(TClock::now(), frmDM->Database.databaseName());
    m_ui->editDatabase->setText(proposedFolder() + u'/' + FNewFilename);
    connect(m_ui->btnOpenPath, &QToolButton::clicked, this, &TfrmDbBackup::btnOpenPathClick);
    connect(m_ui->btnCopy, &QPushButton::clicked, this, &TfrmDbBackup::btnCopyClick);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmDbBackup::~TfrmDbBackup()
{
    if (frmDbBackup == this)
        frmDbBackup = nullptr;
}

void TfrmDbBackup::btnOpenPathClick()
{
    const QString folder = dialogs().chooseFolder(QStringLiteral("Pfad auswählen"), proposedFolder());
    if (folder.isEmpty())
        return;
    m_ui->editDatabase->setText(folder + u'/' + FNewFilename);
    frmDM->Settings()->setDbBackupPath(folder);
}

void TfrmDbBackup::btnCopyClick()
{
    const QString source = frmDM->Database.databaseName();
    const QString target = m_ui->editDatabase->text();
    if (target.isEmpty() || source.isEmpty()) {
        dialogs().message(QStringLiteral("Datenbank oder Zielpfad nicht definiert!"));
        return;
    }
    if (!frmDM->finishOpenEdits())
        return;
    frmDM->Database.close();
    m_ui->btnCopy->setEnabled(false);
    QApplication::processEvents();
    // Compared with the files' own times, which the system clock wrote.
    removeStaleBackupParts(QFileInfo(target).path(), source, QDateTime::currentDateTime());
    const bool copied = dialogs().copyFileWithProgress(source, target); // the copy reports its own failures
    if (frmDM->Connect() && frmDM->mainView())
        frmDM->mainView()->Init2();
    m_ui->btnCopy->setEnabled(true);
    if (copied)
        dialogs().message(QStringLiteral("Die Sicherung wurde gespeichert:\n%1").arg(QDir::toNativeSeparators(target)));
}

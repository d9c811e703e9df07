#include "FirstStartWindow.h"
#include "Database.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "Dialogs.h"
#include "FirmDatabase.h"
#include "NewDatabase.h"
#include "OpenFailure.h"
#include "SwitchDatabase.h"
#include "UDM.h"
#include "UDlgConnection.h"
#include "USettings.h"
#include "ui_FirstStartWindow.h"
#include "ui_UDlgConnection.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <functional>

namespace {

// Creating a file takes a few seconds; the cursor says so instead of a box.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

const QString kFileFilter = QStringLiteral("Firebird-Datenbank|*.fdb");

// Makes a database file over a connection of its own, which lets go of it
// afterwards; a failure is shown under its first line. True when made.
bool makeFile(const QString &failure, const std::function<void(TDatabase &)> &make)
{
    try {
        BusyCursor busy;
        TDatabase database;
        TTransaction transaction(&database);
        database.params = connectionParams();
        make(database);
        database.close();
    } catch (const EDatabaseError &e) {
        dialogs().message(failure + u'\n' + e.message(), IDialogs::Icon::Error);
        return false;
    }
    return true;
}

} // namespace

FirstStartWindow::FirstStartWindow(const QString &missingPath, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FirstStartWindow>()), m_missingPath(missingPath)
{
    m_ui->setupUi(this);
    QString welcome = QStringLiteral("Willkommen bei Velmora Prüfprotokolle. Es ist noch keine Datenbank geöffnet. Womit möchten Sie beginnen?");
    if (!missingPath.trimmed().isEmpty())
        welcome += QStringLiteral("\n(Unter %1 liegt keine Datenbank.)").arg(QDir::toNativeSeparators(missingPath));
    m_ui->lblWelcome->setText(welcome);
    m_ui->pages->setCurrentWidget(m_ui->pageChoices);
    connect(m_ui->btnNewFirm, &QAbstractButton::clicked, this, &FirstStartWindow::showFirmPage);
    connect(m_ui->btnDemo, &QAbstractButton::clicked, this, &FirstStartWindow::openDemoDatabase);
    connect(m_ui->btnOpen, &QAbstractButton::clicked, this, &FirstStartWindow::openExistingDatabase);
    connect(m_ui->btnServer, &QAbstractButton::clicked, this, &FirstStartWindow::openServerDatabase);
    connect(m_ui->btnCreate, &QAbstractButton::clicked, this, &FirstStartWindow::createForFirm);
    connect(m_ui->btnBack, &QAbstractButton::clicked, this, [this] { m_ui->pages->setCurrentWidget(m_ui->pageChoices); });
    connect(m_ui->btnChooseFile, &QAbstractButton::clicked, this, [this] {
        const QString chosen = dialogs().chooseSaveFile(QStringLiteral("Neue Datenbank"), QFileInfo(m_ui->editFile->text()).absolutePath(),
                                                        kFileFilter, QStringLiteral("fdb"));
        if (!chosen.isEmpty())
            m_ui->editFile->setText(chosen);
    });
}

FirstStartWindow::~FirstStartWindow() = default;

QString FirstStartWindow::demoDatabasePath() { return frmDM->Settings()->CommonPath() + QStringLiteral("/VELMORA-DEMO.FDB"); }

void FirstStartWindow::showFirmPage()
{
    const bool local = !m_missingPath.trimmed().isEmpty() && !TDatabase::isServerName(m_missingPath);
    m_ui->editFile->setText(local ? m_missingPath : frmDM->Settings()->CommonPath() + QStringLiteral("/VELMORA.FDB"));
    m_ui->pages->setCurrentWidget(m_ui->pageFirm);
    m_ui->editFirm->setFocus();
}

bool FirstStartWindow::requireText(QLineEdit *edit, const QString &what)
{
    if (!edit->text().trimmed().isEmpty())
        return true;
    dialogs().message(QStringLiteral("Bitte %1 eingeben.").arg(what), IDialogs::Icon::Warning);
    edit->setFocus();
    return false;
}

void FirstStartWindow::createForFirm()
{
    if (!requireText(m_ui->editFirm, QStringLiteral("den Namen der Firma")) ||
        !requireText(m_ui->editInspector, QStringLiteral("den Namen des ersten Prüfers")) ||
        !requireText(m_ui->editInstrument, QStringLiteral("den Namen des ersten Prüfgeräts")) ||
        !requireText(m_ui->editFile, QStringLiteral("die Datei der neuen Datenbank")))
        return;
    const QString path = m_ui->editFile->text().trimmed();
    if (QFileInfo::exists(path)) {
        dialogs().message(QStringLiteral("Die Datei %1 gibt es schon. Bitte einen anderen Namen wählen oder „Vorhandene Datenbank öffnen“.")
                              .arg(QDir::toNativeSeparators(path)),
                          IDialogs::Icon::Warning);
        return;
    }
    const FirmStart start{m_ui->editFirm->text(), m_ui->editInspector->text(), m_ui->editInstrument->text(),
                          m_ui->editInstrumentType->text(), m_ui->editSerialNumber->text()};
    const bool made = makeFile(QStringLiteral("Die Datenbank konnte nicht angelegt werden."),
                               [&](TDatabase &database) { ::createFirmDatabase(database, path, start); });
    if (!made)
        return;
    finishWith(path);
}

void FirstStartWindow::openDemoDatabase()
{
    const QString path = demoDatabasePath();
    if (!QFileInfo::exists(path)) { // a second look opens the same file again
        const bool made = makeFile(QStringLiteral("Die Demodatenbank konnte nicht angelegt werden."), [&](TDatabase &database) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            createVelmoraDatabase(database, path);
        });
        if (!made)
            return;
    }
    finishWith(path);
}

void FirstStartWindow::openExistingDatabase()
{
    const QString chosen = dialogs().chooseOpenFile(QStringLiteral("Datenbank öffnen"), frmDM->Settings()->CommonPath(), kFileFilter,
                                                    QStringLiteral("fdb"));
    if (chosen.isEmpty())
        return;
    // Another program's file is refused before it is remembered.
    if (identifyDatabaseFile(chosen) == FileIdentity::Foreign) {
        dialogs().message(foreignDatabaseText(chosen), IDialogs::Icon::Error);
        return;
    }
    finishWith(chosen);
}

void FirstStartWindow::openServerDatabase()
{
    TdlgDbConnection dialog(this);
    dialog.ui()->editDatabase->setText(QString()); // the missing local file is no server path
    dialog.ui()->editDatabase->setPlaceholderText(QStringLiteral("server:/pfad/VELMORA.FDB"));
    dialog.exec();
    if (frmDM->Database.connected())
        accept();
}

void FirstStartWindow::finishWith(const QString &path)
{
    if (switchToDatabase(path))
        accept();
}

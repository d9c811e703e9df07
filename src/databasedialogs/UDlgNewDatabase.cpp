#include "UDlgNewDatabase.h"
#include "Dialogs.h"
#include "NewDatabase.h"
#include "UDM.h"
#include "SwitchDatabase.h"
#include "USettings.h"
#include "ui_UDlgNewDatabase.h"
#include <QApplication>
#include <QFileInfo>

TdlgNewDatabase::TdlgNewDatabase(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TdlgNewDatabase>())
{
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Database.params = connectionParams();
    m_ui->newDatabase->clear();
    connect(m_ui->BitBtn1, &QToolButton::clicked, this, [this] {
        const QString chosen = dialogs().chooseSaveFile(QStringLiteral("Neue Datenbank"), frmDM->Settings()->CommonPath(),
                                                        QStringLiteral("Firebird-Datenbank|*.fdb"), QStringLiteral("fdb"));
        if (!chosen.isEmpty())
            m_ui->newDatabase->setText(chosen);
    });
    connect(m_ui->btnCreate, &QPushButton::clicked, this, &TdlgNewDatabase::doNewDatabase);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

TdlgNewDatabase::~TdlgNewDatabase() = default;

void TdlgNewDatabase::doNewDatabase()
{
    const QString path = m_ui->newDatabase->text();
    if (QFileInfo::exists(path)) {
        dialogs().message(QStringLiteral("Datenbank existiert bereits"), IDialogs::Icon::Error, QStringLiteral("Fehler"));
        return;
    }
    // The new file becomes the program's database: open edits are settled
    // before anything is made.
    if (!frmDM->finishOpenEdits())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor); // creating takes a few seconds
    try {
        createVelmoraDatabase(Database, path);
        Database.close();
    } catch (const std::exception &) {
        QApplication::restoreOverrideCursor();
        // The half-built file is gone; the path is free for the next try.
        dialogs().message(QStringLiteral("Fehler beim Erzeugen der Datenbank"), IDialogs::Icon::Error, QStringLiteral("Fehler"));
        return;
    }
    QApplication::restoreOverrideCursor();
    if (switchToDatabase(path)) {
        dialogs().message(QStringLiteral("Neue Datenbank erzeugt und geöffnet."), IDialogs::Icon::Information, QStringLiteral("Neu"));
        accept();
    }
}

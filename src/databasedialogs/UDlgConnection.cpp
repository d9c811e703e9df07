#include "UDlgConnection.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "OpenFailure.h"
#include "Dialogs.h"
#include "UDM.h"
#include "USettings.h"
#include "ui_UDlgConnection.h"

TdlgDbConnection::TdlgDbConnection(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TdlgDbConnection>())
{
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_ui->editDatabase->setText(frmDM->Settings()->DBName());
    connect(m_ui->BitBtn1, &QToolButton::clicked, this, [this] {
        const QString chosen = dialogs().chooseOpenFile(QStringLiteral("Datenbank öffnen"), frmDM->Settings()->CommonPath(),
                                                        QStringLiteral("Firebird-Datenbank|*.fdb"), QStringLiteral("fdb"));
        if (!chosen.isEmpty())
            m_ui->editDatabase->setText(chosen);
    });
    connect(m_ui->btnTest, &QPushButton::clicked, this, &TdlgDbConnection::btnTestClick);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &TdlgDbConnection::btnOKClick);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TdlgDbConnection::~TdlgDbConnection() = default;

void TdlgDbConnection::btnTestClick()
{
    if (!frmDM->finishOpenEdits()) // the test closes the connection
        return;
    try {
        frmDM->Database.close();
        frmDM->Database.setDatabaseName(m_ui->editDatabase->text());
        frmDM->Database.open();
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
        return;
    }
    dialogs().beep();
    dialogs().message(QStringLiteral("Datenbankverbindung hergestellt!"));
}

void TdlgDbConnection::btnOKClick()
{
    // Another program's file (or a half-built one) is refused before the
    // working connection is given up; the dialog stays for another choice.
    if (identifyDatabaseFile(m_ui->editDatabase->text()) == FileIdentity::Foreign) {
        dialogs().message(kWrongDatabase, IDialogs::Icon::Error);
        return;
    }
    if (!frmDM->finishOpenEdits())
        return;
    frmDM->Settings()->setDBName(m_ui->editDatabase->text());
    frmDM->Connect(); // reports its own failures
    if (IMainView *main = frmDM->mainView())
        main->Init2();
    accept();
}

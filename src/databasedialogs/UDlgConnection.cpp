#include "UDlgConnection.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "OpenFailure.h"
#include "PasswordStore.h"
#include "ServerLogin.h"
#include "Dialogs.h"
#include "UDM.h"
#include "USettings.h"
#include "ui_UDlgConnection.h"

TdlgDbConnection::TdlgDbConnection(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TdlgDbConnection>())
{
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_ui->editDatabase->setText(frmDM->Settings()->DBName());
    m_ui->editUser->setText(frmDM->Settings()->DBUser());
    showLoginFields();
    connect(m_ui->editDatabase, &QLineEdit::textChanged, this, &TdlgDbConnection::showLoginFields);
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

bool TdlgDbConnection::isServerPath() const { return TDatabase::isServerName(m_ui->editDatabase->text()); }

void TdlgDbConnection::showLoginFields()
{
    const bool server = isServerPath();
    for (QWidget *w : std::initializer_list<QWidget *>{m_ui->lblUser, m_ui->editUser, m_ui->lblPassword, m_ui->editPassword,
                                                       m_ui->chkRememberPassword})
        w->setVisible(server);
}

TServerLogin TdlgDbConnection::typedLogin() const
{
    return TServerLogin{m_ui->editUser->text().trimmed(), m_ui->editPassword->text()};
}

// The user goes into the settings; a typed password serves this run and,
// when "Kennwort merken" is ticked, the keyring (never the settings file).
void TdlgDbConnection::keepLogin()
{
    const QString path = m_ui->editDatabase->text();
    const TServerLogin login = typedLogin();
    frmDM->Settings()->setDBUser(login.user);
    if (login.password.isEmpty()) {
        frmDM->forgetServerLogin(); // the keyring or a question at connecting gives it
        return;
    }
    frmDM->setServerLogin(path, login);
    if (!m_ui->chkRememberPassword->isChecked())
        forgetStoredPassword(path, login.user);
    else if (!storePassword(path, login.user, login.password))
        dialogs().message(keyringMissingText(), IDialogs::Icon::Warning);
}

void TdlgDbConnection::btnTestClick()
{
    if (!frmDM->finishOpenEdits()) // the test closes the connection
        return;
    try {
        frmDM->Database.close();
        frmDM->Database.params = connectionParamsFor(m_ui->editDatabase->text(), typedLogin());
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
    // (A server's file is checked by the connection routine, with the login.)
    if (!isServerPath() && identifyDatabaseFile(m_ui->editDatabase->text()) == FileIdentity::Foreign) {
        dialogs().message(foreignDatabaseText(m_ui->editDatabase->text()), IDialogs::Icon::Error);
        return;
    }
    if (!frmDM->finishOpenEdits())
        return;
    frmDM->Settings()->setDBName(m_ui->editDatabase->text());
    if (isServerPath())
        keepLogin();
    frmDM->Connect(); // reports its own failures
    if (IMainView *main = frmDM->mainView())
        main->Init2();
    accept();
}

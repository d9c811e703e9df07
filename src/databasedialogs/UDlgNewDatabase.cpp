#include "UDlgNewDatabase.h"
#include "Dialogs.h"
#include "NewDatabase.h"
#include "UDM.h"
#include "USettings.h"
#include "ui_UDlgNewDatabase.h"
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
    try {
        createVelmoraDatabase(Database, path, [] {
            dialogs().message(QStringLiteral("Neue Datenbank wird erzeugt\rOK anklicken und etwas warten..."),
                              IDialogs::Icon::Information, QStringLiteral("Neu"));
        });
    } catch (const std::exception &) {
        // The half-built file is gone; the path is free for the next try.
        dialogs().message(QStringLiteral("Fehler beim Erzeugen der Datenbank"), IDialogs::Icon::Error, QStringLiteral("Fehler"));
        return;
    }
    dialogs().message(QStringLiteral("Neue Datenbank erzeugt!"), IDialogs::Icon::Information, QStringLiteral("Neu"));
}

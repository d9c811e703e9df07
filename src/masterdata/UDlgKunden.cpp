#include "UDlgKunden.h"
#include "UDM.h"
#include "ui_UDlgKunden.h"

TdlgKunden *dlgKunden = nullptr;

TdlgKunden::TdlgKunden(QWidget *parent)
    : TMasterDataDialog(parent, &frmDM->dsrcKunden, true), m_ui(std::make_unique<Ui::TdlgKunden>())
{
    dlgKunden = this;
    m_ui->setupUi(this);
    bind(m_ui->txtID, QStringLiteral("ID"));
    bind(m_ui->editName, QStringLiteral("NAME"));
    bind(m_ui->editName2, QStringLiteral("NAME2"));
    bind(m_ui->editZusatz, QStringLiteral("ZUSATZ"));
    bind(m_ui->editStrasse, QStringLiteral("STRASSE"));
    bind(m_ui->editPlz, QStringLiteral("PLZ"));
    bind(m_ui->editOrt, QStringLiteral("ORT"));
    bind(m_ui->editLand, QStringLiteral("LAND"));
    bind(m_ui->editEmail, QStringLiteral("EMAIL"));
    bind(m_ui->editTelefon, QStringLiteral("TELEFON"));
    bind(m_ui->editMobil, QStringLiteral("MOBIL"));
    bind(m_ui->editFax, QStringLiteral("FAX"));
    bind(m_ui->memoBemerkung, QStringLiteral("BEMERKUNG"));
    bind(m_ui->chkAktiv, QStringLiteral("AKTIV"));
    setupNavigator(m_ui->btnNeu, m_ui->btnLoeschen, m_ui->btnAendern, m_ui->btnSichern, m_ui->btnAbbruch);
    setupList(m_ui->gridKunden, {QStringLiteral("NAME"), QStringLiteral("STRASSE"), QStringLiteral("PLZ"), QStringLiteral("ORT")});
    connect(m_ui->btnSchliessen, &QPushButton::clicked, this, &QWidget::close);
}

TdlgKunden::~TdlgKunden()
{
    if (dlgKunden == this)
        dlgKunden = nullptr;
}

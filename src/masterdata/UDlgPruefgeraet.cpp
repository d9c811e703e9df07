#include "UDlgPruefgeraet.h"
#include "UDM.h"
#include "ui_UDlgPruefgeraet.h"

TdlgPruefgeraete *dlgPruefgeraete = nullptr;

TdlgPruefgeraete::TdlgPruefgeraete(QWidget *parent)
    : TMasterDataDialog(parent, &frmDM->dsrcPruefgeraete, true), m_ui(std::make_unique<Ui::TdlgPruefgeraete>())
{
    dlgPruefgeraete = this;
    m_ui->setupUi(this);
    bind(m_ui->txtID, QStringLiteral("ID"));
    bind(m_ui->editName, QStringLiteral("NAME"));
    bind(m_ui->editBezeichnung, QStringLiteral("BEZEICHNUNG"));
    bind(m_ui->editSeriennummer, QStringLiteral("SERIENNUMMER"));
    setupNavigator(m_ui->btnNeu, m_ui->btnLoeschen, m_ui->btnAendern, m_ui->btnSichern, m_ui->btnAbbruch);
    setupList(m_ui->gridPruefgeraete, {QStringLiteral("NAME"), QStringLiteral("BEZEICHNUNG"), QStringLiteral("SERIENNUMMER")});
    connect(m_ui->btnSchliessen, &QPushButton::clicked, this, &QWidget::close);
}

TdlgPruefgeraete::~TdlgPruefgeraete()
{
    if (dlgPruefgeraete == this)
        dlgPruefgeraete = nullptr;
}

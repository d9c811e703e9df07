#include "UDlgPruefer.h"
#include "UDM.h"
#include "ui_UDlgPruefer.h"

TdlgPruefer *dlgPruefer = nullptr;

TdlgPruefer::TdlgPruefer(QWidget *parent)
    : TMasterDataDialog(parent, &frmDM->dsrcPruefer, false), m_ui(std::make_unique<Ui::TdlgPruefer>())
{
    dlgPruefer = this;
    m_ui->setupUi(this);
    bind(m_ui->txtID, QStringLiteral("ID"));
    bind(m_ui->editName, QStringLiteral("NAME"));
    setupNavigator(m_ui->btnNeu, m_ui->btnLoeschen, m_ui->btnAendern, m_ui->btnSichern, m_ui->btnAbbruch);
    setupList(m_ui->gridPruefer, {QStringLiteral("NAME")});
    m_ui->gridPruefer->setEditable(true); // names may be changed in the list
    connect(m_ui->btnSchliessen, &QPushButton::clicked, this, &QWidget::close);
}

TdlgPruefer::~TdlgPruefer()
{
    if (dlgPruefer == this)
        dlgPruefer = nullptr;
}

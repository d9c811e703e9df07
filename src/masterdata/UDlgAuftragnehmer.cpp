#include "UDlgAuftragnehmer.h"
#include "DbError.h"
#include "DBNavButton.h"
#include "LogoChooser.h"
#include "UDM.h"
#include "ui_UDlgAuftragnehmer.h"

TdlgAuftragnehmer *dlgAuftragnehmer = nullptr;

TdlgAuftragnehmer::TdlgAuftragnehmer(QWidget *parent)
    : TMasterDataDialog(parent, &frmDM->dsrcAuftragnehmer, true), m_ui(std::make_unique<Ui::TdlgAuftragnehmer>())
{
    dlgAuftragnehmer = this;
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    const struct {
        TFieldControl *control;
        const char *field;
    } bindings[] = {{m_ui->txtID, "ID"},           {m_ui->editName, "NAME"}, {m_ui->editName2, "NAME2"},
                    {m_ui->editZusatz, "ZUSATZ"},  {m_ui->editStrasse, "STRASSE"}, {m_ui->editPlz, "PLZ"},
                    {m_ui->editOrt, "ORT"},        {m_ui->editLand, "LAND"}, {m_ui->editTelefon, "TELEFON"},
                    {m_ui->editKurzname, "KURZNAME"}};
    for (const auto &b : bindings)
        bind(b.control, QString::fromLatin1(b.field));
    m_logo = new TLogoChooser(&frmDM->dsetAuftragnehmer, this);
    static_cast<QVBoxLayout *>(layout())->insertWidget(1, m_logo);
    m_ui->btnSichern->setButtonStyle(nbsPost);
    m_ui->btnSichern->setDataSource(&frmDM->dsrcAuftragnehmer);
    connect(m_ui->btnSchliessen, &QPushButton::clicked, this, &QWidget::close);
    try {
        if (frmDM->Database.connected() && !frmDM->dsetAuftragnehmer.active())
            frmDM->dsetAuftragnehmer.open();
    } catch (const EDatabaseError &) {
        // Only a file the connection routine refused gets here; it has said why.
    }
}

TdlgAuftragnehmer::~TdlgAuftragnehmer()
{
    if (dlgAuftragnehmer == this)
        dlgAuftragnehmer = nullptr;
}

void TdlgAuftragnehmer::showEvent(QShowEvent *event)
{
    TMasterDataDialog::showEvent(event);
    m_ui->editName->setFocus();
}

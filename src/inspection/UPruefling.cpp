#include "UPruefling.h"
#include "EditingWindow.h"
#include "ui_UPruefling.h"
#include <QIcon>

TfrmPruefling *frmPruefling = nullptr;

TfrmPruefling::TfrmPruefling(QWidget *parent) : TEditingWindow(parent, frmDM->dsetPrueflinge), m_ui(std::make_unique<Ui::TfrmPruefling>())
{
    frmPruefling = this;
    m_ui->setupUi(this);
    const struct {
        TFieldControl *control;
        TDataSource *source;
        const char *field;
    } bindings[] = {{m_ui->cbBezeichnung, &frmDM->dsrcPrueflinge, "BEZEICHNUNG"},
                    {m_ui->editNummer, &frmDM->dsrcPrueflinge, "NUMMER"},
                    {m_ui->chkLaenge, &frmDM->dsrcPrueflinge, "VARIABEL"},
                    {m_ui->editLaenge, &frmDM->dsrcPrueflinge, "LAENGE"},
                    {m_ui->DbBez1, &frmDM->dsrcGrenzwert1, "BEZ1"},
                    {m_ui->DbGrenzwert0, &frmDM->dsrcPrueflinge, "GRENZWERT0"},
                    {m_ui->DbBez2, &frmDM->dsrcGrenzwert1, "BEZ2"},
                    {m_ui->cbSchutzklasse, &frmDM->dsrcPrueflinge, "SCHUTZKLASSE"},
                    {m_ui->cbOrt, &frmDM->dsrcPrueflinge, "ORT"},
                    {m_ui->cbPruefinterval, &frmDM->dsrcPrueflinge, "PRUEFINTERVAL"},
                    {m_ui->chkAktiv, &frmDM->dsrcPrueflinge, "AKTIV"},
                    {m_ui->EditSerienNr, &frmDM->dsrcPrueflinge, "SERIENNR"},
                    {m_ui->EditHersteller, &frmDM->dsrcPrueflinge, "HERSTELLER"},
                    {m_ui->memoBemerkung, &frmDM->dsrcPrueflinge, "BEMERKUNG"}};
    for (const auto &b : bindings) {
        b.control->setDataSource(b.source);
        b.control->setDataField(QString::fromLatin1(b.field));
    }
    for (const char *months : {"3", "6", "12", "24", "36", "48"})
        m_ui->cbPruefinterval->addItem(QString::fromLatin1(months));
    m_ui->cbPruefinterval->showValue();
    fillSchutzklassen();

    connect(m_ui->chkLaenge, &QCheckBox::stateChanged, this, [this] { doBezeichnung(); });
    connect(m_ui->cbSchutzklasse, &QComboBox::activated, this, [this](int index) {
        if (index >= 0)
            showImage(m_ui->cbSchutzklasse->itemData(index).toInt());
    });
    connect(m_ui->btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    // The length rows keep their place while hidden, so that the window
    // keeps its size when they appear.
    for (QWidget *w : lengthRow()) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    // FormCreate
    FImageLoaded = -1;
    if (frmDM->dsetPrueflinge.active())
        showImage(frmDM->dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->asString());
    doBezeichnung();
    frmDM->setDeviceView(this);
}

TfrmPruefling::~TfrmPruefling()
{
    if (frmDM && frmDM->deviceView() == this)
        frmDM->setDeviceView(nullptr);
    if (frmPruefling == this)
        frmPruefling = nullptr;
}

void TfrmPruefling::showImage(const QString &schutzklasse)
{
    const int number = schutzklasse == u"I" ? 1 : schutzklasse == u"II" ? 2 : schutzklasse == u"III" ? 3 : -1;
    showImage(number);
}

void TfrmPruefling::showImage(int schutzklasse)
{
    if (schutzklasse == FImageLoaded)
        return;
    if (schutzklasse <= 0)
        m_ui->Image1->clear();
    else
        m_ui->Image1->setPixmap(QIcon(QStringLiteral(":/velmora/PngImage_%1.svg").arg(schutzklasse)).pixmap(50, 50));
    FImageLoaded = schutzklasse;
}

void TfrmPruefling::fillList(QComboBox *box, const QStringList &values)
{
    const QString shown = box->currentText();
    box->clear();
    box->addItems(values);
    box->setCurrentIndex(-1);
    box->setEditText(shown);
}

void TfrmPruefling::fillBezeichnungen() { fillList(m_ui->cbBezeichnung, frmDM->deviceNames()); }

void TfrmPruefling::fillOrte() { fillList(m_ui->cbOrt, frmDM->devicePlaces()); }

void TfrmPruefling::fillSchutzklassen()
{
    m_ui->cbSchutzklasse->clear();
    for (int i = 1; i <= 3; ++i)
        m_ui->cbSchutzklasse->addItem(QString(i, u'I'), i);
    m_ui->cbSchutzklasse->showValue();
}

QList<QWidget *> TfrmPruefling::lengthRow() const
{
    return {m_ui->editLaenge, m_ui->lblLaenge, m_ui->DbBez1, m_ui->DbGrenzwert0, m_ui->DbBez2};
}

void TfrmPruefling::doBezeichnung()
{
    const bool variable = m_ui->chkLaenge->checkState() == Qt::Checked;
    for (QWidget *w : lengthRow())
        w->setVisible(variable);
}

void TfrmPruefling::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fillBezeichnungen();
    fillOrte();
    fillSchutzklassen();
    const int index = m_ui->cbSchutzklasse->currentIndex();
    if (index >= 0)
        showImage(m_ui->cbSchutzklasse->itemData(index).toInt());
    m_ui->cbBezeichnung->setFocus();
}


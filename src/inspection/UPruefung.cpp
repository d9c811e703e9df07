#include "UPruefung.h"
#include "EditingWindow.h"
#include "ui_UPruefung.h"

TfrmPruefung *frmPruefung = nullptr;

namespace {
const char *const kMeasurements[] = {"SCHUTZLEITWIDERSTAND", "ISOLATIONSPRUEFUNG", "ERSATZABLEITSTROM", "DIFFERENZSTROM",
                                     "BERUEHRUNGSSTROM"};

// Adds whole days; the time of day stays.
void addDays(TField *field, int days)
{
    if (!field->isNull())
        field->setAsDateTime(field->asDateTime().addDays(days));
}
} // namespace

TfrmPruefung::TfrmPruefung(QWidget *parent) : TEditingWindow(parent, frmDM->dsetPruefungen), m_ui(std::make_unique<Ui::TfrmPruefung>())
{
    frmPruefung = this;
    m_ui->setupUi(this);
    // The value column keeps its natural width; the remark takes what the
    // window gains. Line edits would otherwise compete for it.
    const QList<QLineEdit *> values = {m_ui->editSchutzleitwiderstand, m_ui->editIsolationspruefung, m_ui->editErsatzableitstrom,
                                       m_ui->editDifferenzstrom,       m_ui->editBeruehrungsstrom,    m_ui->editPruefdatum,
                                       m_ui->editNextPruefdatum};
    for (QLineEdit *value : values)
        value->setSizePolicy(QSizePolicy::Fixed, value->sizePolicy().verticalPolicy());
    bindControls();
    connect(m_ui->btnCopy, &QPushButton::clicked, this, &TfrmPruefung::btnCopyClick);
    connect(m_ui->btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(m_ui->btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    connect(m_ui->spinPruefdatumUp, &QToolButton::clicked, this, [this] { movePruefdatum(1); });
    connect(m_ui->spinPruefdatumDown, &QToolButton::clicked, this, [this] { movePruefdatum(-1); });
    connect(m_ui->spinNextPruefdatumUp, &QToolButton::clicked, this, [this] { moveNextPruefdatum(1); });
    connect(m_ui->spinNextPruefdatumDown, &QToolButton::clicked, this, [this] { moveNextPruefdatum(-1); });
    frmDM->setInspectionView(this);
}

TfrmPruefung::~TfrmPruefung()
{
    if (frmDM && frmDM->inspectionView() == this)
        frmDM->setInspectionView(nullptr);
    if (frmPruefung == this)
        frmPruefung = nullptr;
}

void TfrmPruefung::bindControls()
{
    const auto bind = [](TFieldControl *control, TDataSource *source, const QString &field) {
        control->setDataSource(source);
        control->setDataField(field);
    };
    TDataSource *device = &frmDM->dsrcPrueflinge, *inspection = &frmDM->dsrcPruefungen, *earlier = &frmDM->dsrcPruefungenVorher;
    bind(m_ui->DbBezeichnung, device, QStringLiteral("BEZEICHNUNG"));
    bind(m_ui->DbNummer, device, QStringLiteral("NUMMER"));
    bind(m_ui->DbSchutzklasse, device, QStringLiteral("SCHUTZKLASSE"));
    bind(m_ui->DbOrt, device, QStringLiteral("ORT"));
    bind(m_ui->DbGrenzwert0, device, QStringLiteral("GRENZWERT0"));
    const struct {
        TDBText *earlier;
        TDBEdit *value;
        TDBCheckBox *passed;
        const char *field;
    } rows[] = {{m_ui->DbVorher_SICHTPRUEFUNG_BESTANDEN, nullptr, m_ui->chkSichtpruefung, "SICHTPRUEFUNG"},
                {m_ui->DbVorher_SCHUTZLEITWIDERSTAND, m_ui->editSchutzleitwiderstand, m_ui->chkSchutzleitwiderstand, kMeasurements[0]},
                {m_ui->DbVorher_ISOLATIONSPRUEFUNG, m_ui->editIsolationspruefung, m_ui->chkIsolationspruefung, kMeasurements[1]},
                {m_ui->DbVorher_ERSATZABLEITSTROM, m_ui->editErsatzableitstrom, m_ui->chkErsatzableitstrom, kMeasurements[2]},
                {m_ui->DbVorher_DIFFERENZSTROM, m_ui->editDifferenzstrom, m_ui->chkDifferenzstrom, kMeasurements[3]},
                {m_ui->DbVorher_BERUEHRUNGSSTROM, m_ui->editBeruehrungsstrom, m_ui->chkBeruehrungsstrom, kMeasurements[4]},
                {m_ui->DbVorher_FUNKTIONSPRUEFUNG_BESTANDEN, nullptr, m_ui->chkFunktionspruefung, "FUNKTIONSPRUEFUNG"}};
    for (const auto &row : rows) {
        const QString field = QString::fromLatin1(row.field);
        const QString flag = field + QStringLiteral("_BESTANDEN");
        bind(row.earlier, earlier, row.value ? field : flag);
        if (row.value)
            bind(row.value, inspection, field);
        bind(row.passed, inspection, flag);
    }
    bind(m_ui->DbPruefungBestanden, inspection, QStringLiteral("Pruefung_Bestanden"));
    bind(m_ui->DbVorher_PRUEFDATUM, earlier, QStringLiteral("PRUEFDATUM"));
    bind(m_ui->editPruefdatum, inspection, QStringLiteral("PRUEFDATUM"));
    bind(m_ui->editNextPruefdatum, inspection, QStringLiteral("NEXT_PRUEFDATUM"));
    bind(m_ui->memoBemerkung, inspection, QStringLiteral("BEMERKUNG"));
    bind(m_ui->cbPruefer, inspection, QStringLiteral("PRUEFER_ID"));
    m_ui->cbPruefer->setListSource(&frmDM->dsrcPruefer);
    m_ui->cbPruefer->setKeyField(QStringLiteral("ID"));
    m_ui->cbPruefer->setListField(QStringLiteral("NAME"));
    bind(m_ui->cbPruefgeraet, inspection, QStringLiteral("PRUEFGERAETE_ID"));
    m_ui->cbPruefgeraet->setListSource(&frmDM->dsrcPruefgeraete);
    m_ui->cbPruefgeraet->setKeyField(QStringLiteral("ID"));
    m_ui->cbPruefgeraet->setListField(QStringLiteral("NAME"));
}

void TfrmPruefung::setComparisonHeading(const QString &text) { m_ui->Label9->setText(text); }

void TfrmPruefung::setGrenzwerte()
{
    const TRecGrenzwert conductor = frmDM->GetGrenzwert(0);
    m_ui->Label17_1->setText(conductor.Bez1);
    m_ui->Label17_2->setText(conductor.Bez2);
    m_ui->Label18->setText(frmDM->GetGrenzwert(1).Anzeige);
    const bool classOne = frmDM->dsetPrueflinge.active() &&
                          frmDM->dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->asString() == u"I";
    const TRecGrenzwert leakage = frmDM->GetGrenzwert(2);
    m_ui->Label19->setText(classOne ? leakage.Anzeige_I : leakage.Anzeige);
    m_ui->Label20->setText(frmDM->GetGrenzwert(3).Anzeige);
    m_ui->Label21->setText(frmDM->GetGrenzwert(4).Anzeige);
}

void TfrmPruefung::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    for (TDataSet *list : {&frmDM->dsetPruefer, &frmDM->dsetPruefgeraete})
        if (!list->active() && frmDM->Database.connected())
            list->open();
    m_ui->editSchutzleitwiderstand->setFocus();
    setGrenzwerte();
}

void TfrmPruefung::btnCopyClick()
{
    TDataSet *earlier = frmDM->dsrcPruefungenVorher.dataSet();
    TDataSet &current = frmDM->dsetPruefungen;
    if (!earlier || !earlier->active() || earlier->isEmpty())
        return;
    current.updateRecord();
    for (const char *name : kMeasurements) {
        const TField *from = earlier->fieldByName(QString::fromLatin1(name));
        TField *to = current.fieldByName(QString::fromLatin1(name));
        if (!from->isNull() && to->isNull()) {
            if (!current.editing())
                current.edit();
            to->setAsDecimal(from->asDecimal());
        }
    }
}

void TfrmPruefung::movePruefdatum(int days)
{
    TDataSet &d = frmDM->dsetPruefungen;
    if (!d.editing())
        d.edit();
    d.updateRecord();
    addDays(d.fieldByName(QStringLiteral("PRUEFDATUM")), days);
    if (d.state() == TDataSetState::Insert)
        addDays(d.fieldByName(QStringLiteral("NEXT_PRUEFDATUM")), days); // keeps the interval
}

void TfrmPruefung::moveNextPruefdatum(int days)
{
    TDataSet &d = frmDM->dsetPruefungen;
    if (!d.editing())
        d.edit();
    d.updateRecord();
    addDays(d.fieldByName(QStringLiteral("NEXT_PRUEFDATUM")), days);
}


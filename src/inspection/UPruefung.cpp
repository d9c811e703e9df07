#include "UPruefung.h"
#include "EditingWindow.h"
#include "Measurements.h"
#include "ui_UPruefung.h"
#include <stdexcept>

// Hears every change of the inspection record: the checks are not measured
// values, yet they change the verdict.
class RecordChangeLink : public TChangeLink {
public:
    void recordChanged(TField *) override { dataSetChanged(); }
};

TfrmPruefung *frmPruefung = nullptr;

namespace {

// Each measurement's row is named after its column: DbVorher_ISOLATIONSPRUEFUNG,
// editIsolationspruefung and chkIsolationspruefung; its limit text is
// Label18 (rows numbered from Label17), a device-own limit DbGrenzwert0
// between Label17_1 and Label17_2.
QString capitalized(const char *column)
{
    const QString name = QString::fromLatin1(column);
    return name.left(1) + name.mid(1).toLower();
}

// A measurement without its row in the form fails every window test at once.
template <class Widget> Widget *rowWidget(const QWidget *window, const QString &name)
{
    Widget *widget = window->findChild<Widget *>(name);
    if (!widget)
        throw std::logic_error(("The inspection window has no " + name + '.').toStdString());
    return widget;
}

TDBText *earlierValue(const QWidget *window, const Measurement &m)
{
    return rowWidget<TDBText>(window, QStringLiteral("DbVorher_") + m.valueColumn());
}

TDBEdit *valueEdit(const QWidget *window, const Measurement &m)
{
    return rowWidget<TDBEdit>(window, QStringLiteral("edit") + capitalized(m.column));
}

TDBCheckBox *passedBox(const QWidget *window, const Measurement &m)
{
    return rowWidget<TDBCheckBox>(window, QStringLiteral("chk") + capitalized(m.column));
}

QLabel *valueNote(const QWidget *window, const Measurement &m)
{
    return rowWidget<QLabel>(window, QStringLiteral("note") + capitalized(m.column));
}

QString limitLabelName(const Measurement &m) { return QStringLiteral("Label%1").arg(17 + m.limitRow); }

const QColor kFailureColour(0xB0, 0x00, 0x20);

// Text in the failure colour, or in the style's own colour again.
void showAsFailure(QWidget *widget, QPalette::ColorRole role, bool failed)
{
    QPalette palette = widget->parentWidget()->palette();
    if (failed)
        palette.setColor(role, kFailureColour);
    widget->setPalette(palette);
}

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
    QList<QLineEdit *> values = {m_ui->editPruefdatum, m_ui->editNextPruefdatum};
    for (const Measurement &m : kMeasurements)
        values << valueEdit(this, m);
    for (QLineEdit *value : values)
        value->setSizePolicy(QSizePolicy::Fixed, value->sizePolicy().verticalPolicy());
    bindControls();
    addValueNotes();
    arrangeKeyboard();
    m_recordLink = std::make_unique<RecordChangeLink>();
    m_recordLink->onChange = [this] { showValueNotes(); };
    m_recordLink->setDataSource(&frmDM->dsrcPruefungen);
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
    const auto bindCheck = [&](TDBText *earlierFlag, TDBCheckBox *passed, const QString &flag) {
        bind(earlierFlag, earlier, flag);
        bind(passed, inspection, flag);
    };
    bindCheck(m_ui->DbVorher_SICHTPRUEFUNG_BESTANDEN, m_ui->chkSichtpruefung, QStringLiteral("SICHTPRUEFUNG_BESTANDEN"));
    for (const Measurement &m : kMeasurements) {
        if (m.deviceLimitColumn)
            bind(rowWidget<TDBText>(this, QStringLiteral("Db") + capitalized(m.deviceLimitColumn)), device,
                 QString::fromLatin1(m.deviceLimitColumn));
        bind(earlierValue(this, m), earlier, m.valueColumn());
        bind(valueEdit(this, m), inspection, m.valueColumn());
        bind(passedBox(this, m), inspection, m.flagColumn());
    }
    bindCheck(m_ui->DbVorher_FUNKTIONSPRUEFUNG_BESTANDEN, m_ui->chkFunktionspruefung,
              QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"));
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

void TfrmPruefung::addValueNotes()
{
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0; // beside the verdict
    m_ui->layTable->getItemPosition(m_ui->layTable->indexOf(m_ui->DbPruefungBestanden), &row, &column, &rowSpan,
                                    &columnSpan);
    m_verdictMark = new QLabel(this);
    m_verdictMark->setObjectName(QStringLiteral("markPruefungBestanden"));
    m_verdictMark->setFont(m_ui->DbPruefungBestanden->font());
    m_ui->layTable->addWidget(m_verdictMark, row, column + columnSpan);
    for (const Measurement &m : kMeasurements) { // beside the pass box
        m_ui->layTable->getItemPosition(m_ui->layTable->indexOf(passedBox(this, m)), &row, &column, &rowSpan,
                                        &columnSpan);
        auto *note = new QLabel(this);
        note->setObjectName(QStringLiteral("note") + capitalized(m.column));
        note->setForegroundRole(QPalette::PlaceholderText);
        // A long note wraps in the room it has instead of widening the window.
        note->setWordWrap(true);
        note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        note->setMinimumWidth(note->fontMetrics().averageCharWidth() * 24);
        m_ui->layTable->addWidget(note, row, column + columnSpan);
    }
}

void TfrmPruefung::showValueNotes()
{
    TDataSet &d = frmDM->dsetPruefungen;
    const auto failed = [&d](const QString &flag) {
        const TField *f = d.active() && !d.isEmpty() ? d.fieldByName(flag) : nullptr;
        return f && !f->isNull() && !f->asBoolean();
    };
    for (const Measurement &m : kMeasurements) {
        const bool valueFails = failed(m.flagColumn()) && !d.fieldByName(m.valueColumn())->isNull();
        showAsFailure(valueEdit(this, m), QPalette::Text, valueFails);
        QLabel *note = valueNote(this, m);
        note->setForegroundRole(valueFails ? QPalette::WindowText : QPalette::PlaceholderText);
        showAsFailure(note, QPalette::WindowText, valueFails);
        note->setText(valueFails ? QStringLiteral("✗ nicht bestanden") : frmDM->valueNote(m));
    }
    const bool inspectionFails = failed(QStringLiteral("Pruefung_Bestanden"));
    showAsFailure(m_ui->DbPruefungBestanden, QPalette::WindowText, inspectionFails);
    showAsFailure(m_verdictMark, QPalette::WindowText, inspectionFails);
    m_verdictMark->setText(inspectionFails ? QStringLiteral("✗") : QString());
}

void TfrmPruefung::arrangeKeyboard()
{
    for (QToolButton *spin : {m_ui->spinPruefdatumUp, m_ui->spinPruefdatumDown, m_ui->spinNextPruefdatumUp,
                              m_ui->spinNextPruefdatumDown})
        spin->setFocusPolicy(Qt::NoFocus);
    m_ui->memoBemerkung->setTabChangesFocus(true);
    QWidget *next = m_ui->chkFunktionspruefung;
    for (auto m = kMeasurements.rbegin(); m != kMeasurements.rend(); ++m) {
        passedBox(this, *m)->setFocusPolicy(Qt::ClickFocus); // judged from the value
        TDBEdit *edit = valueEdit(this, *m);
        connect(edit, &QLineEdit::returnPressed, next, [next] { next->setFocus(Qt::TabFocusReason); });
        next = edit;
    }
}

void TfrmPruefung::setComparisonHeading(const QString &text)
{
    m_ui->Label9->setText(text);
    showValueNotes();
}

void TfrmPruefung::setGrenzwerte()
{
    const QString schutzklasse = frmDM->dsetPrueflinge.active()
                                     ? frmDM->dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->asString()
                                     : QString();
    for (const Measurement &m : kMeasurements) {
        const TRecGrenzwert row = frmDM->GetGrenzwert(m.limitRow);
        if (m.deviceLimitColumn) { // the device's own number between the kind and the unit
            // A device without a protective conductor has no limit for it.
            const bool applies = m.appliesTo(schutzklasse);
            rowWidget<QLabel>(this, limitLabelName(m) + QStringLiteral("_1"))
                ->setText(applies ? row.Bez1 : QStringLiteral("entfällt"));
            rowWidget<QLabel>(this, QStringLiteral("Db") + capitalized(m.deviceLimitColumn))->setVisible(applies);
            rowWidget<QLabel>(this, limitLabelName(m) + QStringLiteral("_2"))->setText(applies ? row.Bez2 : QString());
        } else {
            rowWidget<QLabel>(this, limitLabelName(m))->setText(m.classOneApplies(schutzklasse) ? row.Anzeige_I : row.Anzeige);
        }
    }
}

void TfrmPruefung::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    for (TDataSet *list : {&frmDM->dsetPruefer, &frmDM->dsetPruefgeraete})
        if (!list->active() && frmDM->Database.connected())
            list->open();
    valueEdit(this, kMeasurements.front())->setFocus();
    setGrenzwerte();
    showValueNotes();
}

void TfrmPruefung::btnCopyClick()
{
    TDataSet *earlier = frmDM->dsrcPruefungenVorher.dataSet();
    TDataSet &current = frmDM->dsetPruefungen;
    if (!earlier || !earlier->active() || earlier->isEmpty())
        return;
    current.updateRecord();
    for (const Measurement &m : kMeasurements) {
        const TField *from = earlier->fieldByName(m.valueColumn());
        TField *to = current.fieldByName(m.valueColumn());
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
    addDays(d.fieldByName(QStringLiteral("PRUEFDATUM")), days); // the next date follows
}

void TfrmPruefung::moveNextPruefdatum(int days)
{
    TDataSet &d = frmDM->dsetPruefungen;
    if (!d.editing())
        d.edit();
    d.updateRecord();
    addDays(d.fieldByName(QStringLiteral("NEXT_PRUEFDATUM")), days);
}


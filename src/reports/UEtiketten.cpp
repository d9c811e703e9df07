#include "UEtiketten.h"
#include "Clock.h"
#include "DbError.h"
#include "LabelJob.h"
#include "PageOutputs.h"
#include "PdfName.h"
#include "Preview.h"
#include "UDM.h"
#include "UMisc.h"
#include "USettings.h"
#include "ui_UEtiketten.h"
#include <QCoreApplication>
#include <QScopedValueRollback>

namespace {

// The entries after the presets: measures of the user's own.
constexpr int kOwnSheet = 1;
constexpr int kOwnRoll = 2;

} // namespace

TfrmEtiketten::TfrmEtiketten(const TLabelChoice &choice, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmEtiketten>()), m_choice(choice), m_data(*frmDM)
{
    m_ui->setupUi(this);
    m_preview = new TPreview;
    m_preview->setObjectName(QStringLiteral("rvRenderEtiketten"));
    m_preview->setStream(&m_stream);
    m_preview->onPageChange = [this] { showPageNumber(); };
    m_ui->ScrollBox1->setWidget(m_preview);
    // A sheet of labels is judged as a whole: the preview shows the page.
    m_preview->fitPage();
    try {
        m_project.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
    } catch (const EDatabaseError &e) {
        m_projectError = e.message();
    }
    const QScopedValueRollback<bool> loading(m_loading, true);
    m_ui->rbAusgewaehlt->setText(m_ui->rbAusgewaehlt->text() + QStringLiteral(" (%1)").arg(choice.selectedDevices.size()));
    m_ui->rbAusgewaehlt->setEnabled(!choice.selectedDevices.isEmpty());
    m_ui->rbAktuell->setEnabled(choice.currentDevice >= 0);
    if (choice.selectedDevices.size() > 1)
        m_ui->rbAusgewaehlt->setChecked(true);
    else if (choice.currentDevice < 0)
        m_ui->rbPrueftag->setChecked(true);
    fillDays();
    fillStocks();
    for (QRadioButton *b : {m_ui->rbAktuell, m_ui->rbAusgewaehlt, m_ui->rbPrueftag})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                updateLabels();
        });
    connect(m_ui->cbPrueftag, &QComboBox::currentIndexChanged, this, [this] {
        m_ui->rbPrueftag->setChecked(true);
        updateLabels();
    });
    connect(m_ui->cbMaterial, &QComboBox::currentIndexChanged, this, &TfrmEtiketten::stockChosen);
    for (QSpinBox *box : {m_ui->sbSpalten, m_ui->sbZeilen, m_ui->sbPosition})
        connect(box, &QSpinBox::valueChanged, this, &TfrmEtiketten::updateLabels);
    for (QDoubleSpinBox *box :
         {m_ui->dsbBreite, m_ui->dsbHoehe, m_ui->dsbOben, m_ui->dsbLinks, m_ui->dsbAbstandX, m_ui->dsbAbstandY})
        connect(box, &QDoubleSpinBox::valueChanged, this, &TfrmEtiketten::updateLabels);
    connect(m_ui->btnZoomIn, &QToolButton::clicked, m_preview, &TPreview::zoomIn);
    connect(m_ui->btnZoomOut, &QToolButton::clicked, m_preview, &TPreview::zoomOut);
    connect(m_ui->btnPrevious, &QToolButton::clicked, m_preview, &TPreview::previous);
    connect(m_ui->btnNext, &QToolButton::clicked, m_preview, &TPreview::next);
    connect(m_ui->btnDrucken, &QPushButton::clicked, this, [this] { printPages(m_stream, m_preview->currentPage()); });
    connect(m_ui->btnPdf, &QPushButton::clicked, this, [this] {
        const bool ofDay = m_ui->rbPrueftag->isChecked() && m_ui->cbPrueftag->currentIndex() >= 0;
        const QDate day = ofDay ? m_ui->cbPrueftag->currentData().toDate() : TClock::today();
        savePagesAsPdf(m_stream, GetSpecialFolderPath(CSIDL_PERSONAL) + u'/' + pdfname::forLabels(day, m_choice.customerId, *frmDM));
    });
    connect(m_ui->btnSchliessen, &QPushButton::clicked, this, &QDialog::accept);
    m_loading = false;
    updateLabels();
}

TfrmEtiketten::~TfrmEtiketten() = default;

void TfrmEtiketten::fillDays()
{
    if (m_choice.customerId < 0) {
        m_ui->rbPrueftag->setEnabled(false);
        return;
    }
    for (const QDate &day : frmDM->inspectionDays(m_choice.customerId))
        m_ui->cbPrueftag->addItem(QLocale().toString(day, QStringLiteral("dd.MM.yyyy")), day);
    m_ui->rbPrueftag->setEnabled(m_ui->cbPrueftag->count() > 0);
}

void TfrmEtiketten::fillStocks()
{
    for (const TLabelStock &stock : labelStockPresets())
        m_ui->cbMaterial->addItem(stock.title, stock.key);
    m_ui->cbMaterial->addItem(QStringLiteral("Eigener Bogen"));
    m_ui->cbMaterial->addItem(QStringLiteral("Eigene Rolle"));
    const TLabelStock stock =
        labelStockFromSetting(frmDM->Settings()->LabelStock()).value_or(labelStockPresets().first());
    const int preset = m_ui->cbMaterial->findData(stock.key);
    const int own = static_cast<int>(labelStockPresets().size()) + (stock.roll ? kOwnRoll : kOwnSheet) - 1;
    m_ui->cbMaterial->setCurrentIndex(preset >= 0 && !stock.key.isEmpty() ? preset : own);
    showStock(stock);
}

void TfrmEtiketten::showStock(const TLabelStock &stock)
{
    const QScopedValueRollback<bool> loading(m_loading, true);
    const TLabelSheet &s = stock.sheet;
    m_ui->sbSpalten->setValue(s.columns);
    m_ui->sbZeilen->setValue(s.rows);
    m_ui->dsbBreite->setValue(s.label.width());
    m_ui->dsbHoehe->setValue(s.label.height());
    m_ui->dsbOben->setValue(s.top);
    m_ui->dsbLinks->setValue(s.left);
    m_ui->dsbAbstandX->setValue(s.gapX);
    m_ui->dsbAbstandY->setValue(s.gapY);
    // A preset's measures are shown, the user's own ones edited; a roll
    // has only a label's width and height.
    const int index = m_ui->cbMaterial->currentIndex();
    const int presets = static_cast<int>(labelStockPresets().size());
    const bool own = index >= presets;
    const bool ownSheet = index == presets + kOwnSheet - 1;
    for (QWidget *w : QList<QWidget *>{m_ui->dsbBreite, m_ui->dsbHoehe})
        w->setEnabled(own);
    for (QWidget *w : QList<QWidget *>{m_ui->sbSpalten, m_ui->sbZeilen, m_ui->dsbOben, m_ui->dsbLinks, m_ui->dsbAbstandX,
                                       m_ui->dsbAbstandY})
        w->setEnabled(ownSheet);
    m_ui->sbPosition->setMaximum(std::max(1, s.perPage()));
    m_ui->sbPosition->setEnabled(!stock.roll);
}

void TfrmEtiketten::stockChosen()
{
    if (m_loading)
        return;
    const int index = m_ui->cbMaterial->currentIndex();
    const int presets = static_cast<int>(labelStockPresets().size());
    if (index < presets) {
        showStock(labelStockPresets().at(index));
    } else {
        // The user's own measures start from what is shown now.
        TLabelStock own = chosenStock();
        showStock(own);
    }
    updateLabels();
}

TLabelStock TfrmEtiketten::chosenStock() const
{
    const int index = m_ui->cbMaterial->currentIndex();
    const int presets = static_cast<int>(labelStockPresets().size());
    if (index >= 0 && index < presets)
        return labelStockPresets().at(index);
    const QSizeF label(m_ui->dsbBreite->value(), m_ui->dsbHoehe->value());
    if (index == presets + kOwnRoll - 1)
        return rollStock(label);
    TLabelSheet sheet;
    sheet.label = label;
    sheet.columns = m_ui->sbSpalten->value();
    sheet.rows = m_ui->sbZeilen->value();
    sheet.top = m_ui->dsbOben->value();
    sheet.left = m_ui->dsbLinks->value();
    sheet.gapX = m_ui->dsbAbstandX->value();
    sheet.gapY = m_ui->dsbAbstandY->value();
    return ownSheetStock(sheet);
}

void TfrmEtiketten::openRecords()
{
    if (m_ui->rbPrueftag->isChecked() && m_ui->cbPrueftag->currentIndex() >= 0)
        m_data.openForDay(m_choice.customerId, m_ui->cbPrueftag->currentData().toDate());
    else if (m_ui->rbAusgewaehlt->isChecked())
        m_data.openForDevices(m_choice.selectedDevices);
    else
        m_data.openForDevices(m_choice.currentDevice >= 0 ? QList<int>{m_choice.currentDevice} : QList<int>{});
}

void TfrmEtiketten::updateLabels()
{
    if (m_loading)
        return;
    const TLabelStock stock = chosenStock();
    TLabelSheet sheet = stock.sheet;
    m_ui->sbPosition->setMaximum(std::max(1, sheet.perPage()));
    sheet.first = stock.roll ? 1 : m_ui->sbPosition->value();
    m_stream.clear();
    QString note;
    if (!m_projectError.isEmpty()) {
        note = m_projectError;
    } else if (const QString fault = sheet.fault(); !fault.isEmpty()) {
        note = fault;
    } else {
        frmDM->Settings()->setLabelStock(labelStockSetting(stock));
        openRecords();
        const int labels = m_data.records().recordCount();
        if (labels == 0) {
            note = QStringLiteral("Keiner der gewählten Prüflinge ist geprüft: Es gibt kein Etikett zu drucken.");
        } else {
            labeljob::write(m_project, m_data, sheet, *frmDM, m_stream);
            note = labeljob::countText(labels, m_stream.pages.size());
        }
    }
    m_ui->lblAnzahl->setText(note);
    if (m_stream.pages.isEmpty())
        m_preview->clear();
    else
        m_preview->render();
    showPageNumber();
}

void TfrmEtiketten::showPageNumber()
{
    m_ui->lblSeite->setText(m_preview->pageCount() == 0
                                ? QString()
                                : QStringLiteral("Seite %1 von %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}

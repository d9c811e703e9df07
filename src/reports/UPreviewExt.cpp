#include "UPreviewExt.h"
#include "Clock.h"
#include "CustomerList.h"
#include "DateField.h"
#include "DbError.h"
#include "Dialogs.h"
#include "PageOutputs.h"
#include "PdfName.h"
#include "Preview.h"
#include "UDM.h"
#include "UMisc.h"
#include "UStatus.h"
#include "ui_UPreviewExt.h"
#include "ReportJob.h"
#include <QCloseEvent>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
// The locale's short date format with a four-digit year, so that a day
// written into the list reads back as the same day.
QString dayFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}
} // namespace

TPreviewExt::TPreviewExt(QWidget *parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::TPreviewExt>())
{
    m_ui->setupUi(this);
    m_preview = new TPreview;
    m_preview->setObjectName(QStringLiteral("rvRenderPreviewExt"));
    m_ui->ScrollBox1->setWidget(m_preview);
    m_ui->ScrollBox1->viewport()->installEventFilter(this);
    installEventFilter(this);
    m_ui->chkNextDatum->hide();
    m_ui->dtPicker->hide();
    connectControls();
    FormCreate();
}

TPreviewExt::~TPreviewExt() = default;

void TPreviewExt::FormCreate()
{
    FfrmStatus = new TfrmStatus(this);
    m_writer.onProgress = [this](const QString &text) { showProgress(text); };
    try {
        m_project.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
        m_projectOpen = true;
    } catch (const EDatabaseError &e) {
        m_projectError = e.message();
        dialogs().message(m_projectError, IDialogs::Icon::Error);
        return;
    }
    pdfFolder = GetSpecialFolderPath(CSIDL_PERSONAL);
    m_preview->setStream(&m_stream);
    m_preview->onPageChange = [this] {
        m_ui->Label2->setText(QStringLiteral("Seite %1 von %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
    };
    fillCbKunden();
    fillLbPruefungen();
    m_ui->dtPicker->setDate(TClock::today().addMonths(1));
    frmDM->AuswahlPrueflingePreview = 100;
    frmDM->dsetReportPruefungen.tag = 0;
}

void TPreviewExt::connectControls()
{
    connect(m_ui->cbKunden, &QComboBox::activated, this, [this] {
        fillLbPruefungen();
        UpdateReport();
    });
    connect(m_ui->lbPruefungen, &QListWidget::itemClicked, this, [this] { UpdateReport(); });
    const std::pair<QRadioButton *, int> kinds[] = {{m_ui->rbAll, 0}, {m_ui->rbOK, 1}, {m_ui->rbFail, 2}, {m_ui->rbInventar, 3}};
    for (const auto &[button, tag] : kinds)
        connect(button, &QRadioButton::clicked, this, [this, tag = tag] { rbAuswahlClick(tag); });
    const std::pair<QRadioButton *, int> devices[] = {
        {m_ui->rbAllelPrueflinge, 100}, {m_ui->rbAktivePrueflinge, 110}, {m_ui->rbInaktivePrueflinge, 120}};
    for (const auto &[button, tag] : devices)
        connect(button, &QRadioButton::clicked, this, [this, tag = tag] { rbAuswahlPrueflingeClick(tag); });
    connect(m_ui->chkNextDatum, &QCheckBox::clicked, this, [this] {
        m_ui->dtPicker->setEnabled(m_ui->chkNextDatum->isChecked());
        UpdateReport();
    });
    connect(m_ui->dtPicker, &DateField::dateChosen, this, [this] { UpdateReport(); });
    connect(m_ui->btnZoomIn, &QToolButton::clicked, m_preview, &TPreview::zoomIn);
    connect(m_ui->BtnZoomOut, &QToolButton::clicked, m_preview, &TPreview::zoomOut);
    connect(m_ui->Vergroessern1, &QAction::triggered, m_preview, &TPreview::zoomIn);
    connect(m_ui->Verkleinern1, &QAction::triggered, m_preview, &TPreview::zoomOut);
    connect(m_ui->btnFirst, &QToolButton::clicked, this, [this] { m_preview->renderPage(1); });
    connect(m_ui->btnLast, &QToolButton::clicked, this, [this] { m_preview->renderPage(m_preview->pageCount()); });
    connect(m_ui->btnPrevious, &QToolButton::clicked, m_preview, &TPreview::previous);
    connect(m_ui->btnNext, &QToolButton::clicked, m_preview, &TPreview::next);
    connect(m_ui->btnPrint, &QToolButton::clicked, this, &TPreviewExt::btnPrintClick);
    connect(m_ui->Drucken1, &QAction::triggered, this, &TPreviewExt::btnPrintClick);
    connect(m_ui->btnSavePDF, &QToolButton::clicked, this, &TPreviewExt::btnSavePDFClick);
    connect(m_ui->ExportPDF1, &QAction::triggered, this, &TPreviewExt::btnSavePDFClick);
    connect(m_ui->btnClose, &QToolButton::clicked, this, &QWidget::close);
    connect(m_ui->Ende1, &QAction::triggered, this, &QWidget::close);
}

std::unique_ptr<TPreviewExt> TPreviewExt::newWindow(const QString &title, QWidget *parent)
{
    // The report heads show the contractor as stored now.
    if (frmDM->dsetAuftragnehmer.active())
        frmDM->dsetAuftragnehmer.refresh();
    auto window = std::make_unique<TPreviewExt>(parent);
    window->ReportName = title;
    return window;
}

bool TPreviewExt::showSelection(const TReportSelection &selection)
{
    m_shown = selection;
    frmDM->openReport(selection);
    if (selection.report == TReportSelection::Report::Due)
        reportjob::setDueSelection(m_writer, selection, *frmDM);
    if (!SetReport(selection.reportName()))
        return false;
    ShowReport();
    return true;
}

std::unique_ptr<TPreviewExt> TPreviewExt::create(int mode, QWidget *parent)
{
    TfrmDM &dm = *frmDM;
    auto window = newWindow(QStringLiteral("Velmora Prüfprotokolle"), parent);
    TReportSelection selection;
    selection.resultFilter = dm.dsetReportPruefungen.tag;
    selection.deviceFilter = dm.AuswahlPrueflingePreview;
    if (mode == 1) {
        window->m_ui->panelLeft->show();
        const QListWidgetItem *day = window->m_ui->lbPruefungen->currentItem();
        const auto customer = window->selectedCustomer();
        selection.report = TReportSelection::Report::Day;
        selection.customerId = day && customer ? *customer : -1;
        selection.day = day && customer ? QLocale().toDate(day->text(), dayFormat()) : QDate();
    } else {
        window->m_ui->panelLeft->hide();
        TDataSet &current = dm.dsetPruefungen;
        selection.inspectionId =
            current.active() && !current.isEmpty() ? static_cast<int>(current.fieldByName(QStringLiteral("ID"))->asInteger()) : 0;
    }
    return window->showSelection(selection) ? std::move(window) : nullptr;
}

std::unique_ptr<TPreviewExt> TPreviewExt::create(const TReportSelection &selection, const QString &title, QWidget *parent)
{
    auto window = newWindow(title, parent);
    window->m_ui->panelLeft->hide();
    return window->showSelection(selection) ? std::move(window) : nullptr;
}

void TPreviewExt::showProgress(const QString &text)
{
    FfrmStatus->Label1->setText(text);
    FfrmStatus->Label1->repaint();
    // Keep the window system answered now and then. The status panel is
    // modal: of the clicks, only its "Abbrechen" gets through.
    if (m_progressClock.isValid() && m_progressClock.elapsed() < 40)
        return;
    m_progressClock.start();
    QCoreApplication::processEvents();
}

std::optional<int> TPreviewExt::selectedCustomer() const
{
    const int index = m_ui->cbKunden->currentIndex();
    if (index < 0)
        return std::nullopt;
    return m_ui->cbKunden->itemData(index).toInt();
}

void TPreviewExt::fillCbKunden() { fillCustomerList(m_ui->cbKunden, *frmDM); }

void TPreviewExt::fillLbPruefungen()
{
    m_ui->lbPruefungen->clear();
    const auto customer = selectedCustomer();
    if (!customer)
        return;
    for (const QDate &day : frmDM->inspectionDays(*customer))
        m_ui->lbPruefungen->addItem(QLocale().toString(day, dayFormat()));
    if (m_ui->lbPruefungen->count() > 0)
        m_ui->lbPruefungen->setCurrentRow(0);
}

bool TPreviewExt::SetReport(const QString &reportName)
{
    setWindowTitle(ReportName);
    if (!m_projectOpen) {
        dialogs().message(m_projectError, IDialogs::Icon::Error);
        return false;
    }
    m_project.selectReport(reportName);
    return true;
}

void TPreviewExt::ShowReport()
{
    // The status window lets events through while pages are made; a
    // selection change among them waits for the report being made.
    if (m_generating)
        return;
    const QScopedValueRollback<bool> generating(m_generating, true);
    try {
        const TReportLayout *layout = m_project.selected();
        if (!layout)
            throw EDatabaseError(QStringLiteral("Kein Bericht ausgewählt."));
        reportjob::prepare(m_writer, *layout, *frmDM);
        FfrmStatus->start(QStringLiteral("Einen Moment bitte..."));
        m_progressClock.invalidate();
        showProgress(FfrmStatus->Label1->text());
        m_writer.cancelled = [this] { return FfrmStatus->cancelRequested(); };
        m_writer.execute(*layout, reportjob::connections(*frmDM), m_stream);
        FfrmStatus->hide();
        m_preview->render();
    } catch (const ETooManyPages &e) {
        FfrmStatus->hide();
        clearPreview();
        dialogs().message(e.message(), IDialogs::Icon::Warning);
    } catch (...) {
        FfrmStatus->hide(); // a failed generation shows no page and no message
        clearPreview();
    }
}

void TPreviewExt::clearPreview()
{
    m_stream.clear();
    m_preview->clear();
    m_ui->Label2->setText(QStringLiteral("von 1"));
}

void TPreviewExt::UpdateReport()
{
    const auto customer = selectedCustomer();
    if (!customer)
        return;
    TReportSelection selection;
    selection.customerId = *customer;
    selection.resultFilter = frmDM->dsetReportPruefungen.tag;
    selection.deviceFilter = frmDM->AuswahlPrueflingePreview;
    if (m_ui->rbInventar->isChecked()) {
        selection.report = TReportSelection::Report::Inventory;
        selection.dueDate = m_ui->dtPicker->date();
        selection.onlyDue = m_ui->chkNextDatum->isChecked();
    } else {
        const QListWidgetItem *day = m_ui->lbPruefungen->currentItem();
        if (!day) {
            clearPreview();
            return;
        }
        selection.report = TReportSelection::Report::Day;
        selection.day = QLocale().toDate(day->text(), dayFormat());
    }
    m_shown = selection;
    frmDM->openReport(selection);
    if (selection.report == TReportSelection::Report::Inventory)
        reportjob::setInventorySelection(m_writer, selection.deviceFilter, selection.dueDate, selection.onlyDue);
    m_project.selectReport(selection.reportName());
    ShowReport();
}

void TPreviewExt::rbAuswahlClick(int tag)
{
    const bool inventory = tag >= 3;
    m_ui->lblPruefungen->setVisible(!inventory);
    m_ui->lbPruefungen->setVisible(!inventory);
    m_ui->chkNextDatum->setVisible(inventory);
    m_ui->dtPicker->setVisible(inventory);
    if (!inventory) {
        frmDM->dsetReportPruefungen.setFiltered(true);
        frmDM->dsetReportPruefungen.tag = tag;
    }
    UpdateReport();
}

void TPreviewExt::rbAuswahlPrueflingeClick(int tag)
{
    frmDM->AuswahlPrueflingePreview = tag;
    UpdateReport();
}

void TPreviewExt::btnPrintClick()
{
    if (printPages(m_stream, m_preview->currentPage()))
        protocolsHandedOver();
}

void TPreviewExt::btnSavePDFClick()
{
    if (savePagesAsPdf(m_stream, pdfFolder + u'/' + pdfname::forReport(m_shown, *frmDM)))
        protocolsHandedOver();
}

void TPreviewExt::protocolsHandedOver()
{
    const TReportLayout *layout = m_project.selected();
    if (layout && layout->name == u"Pruefungen" && !m_stream.pages.isEmpty())
        frmDM->closeReportedInspections();
}

bool TPreviewExt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        QScrollBar *bar = m_ui->ScrollBox1->verticalScrollBar();
        bar->setValue(bar->value() - static_cast<QWheelEvent *>(event)->angleDelta().y() / 4);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TPreviewExt::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    emit closed();
}

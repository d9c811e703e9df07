// The main window's commands: navigator buttons, search, sorting by a
// column title, deleting from a list, and the menu.
#include "Application.h"
#include "DBNavButton.h"
#include "DeleteQuestions.h"
#include "Dialogs.h"
#include "UDlgAuftragnehmer.h"
#include "UDlgBackup.h"
#include "UDlgConnection.h"
#include "UDlgNewDatabase.h"
#include "UDlgKunden.h"
#include "UDlgPruefer.h"
#include "UDlgPruefgeraet.h"
#include "UDlgSettingPrueflinge.h"
#include "UDlgSplash.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include "ui_UMain.h"
#include <QAbstractItemView>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>

namespace {
const QUrl kHelpAddress(QStringLiteral("https://velmora-pruefprotokolle.de/hilfe"));
}

void TfrmMain::setupNavigators()
{
    const struct {
        TDBNavButton *button;
        TDataSource *source;
        TNavBtnStyle style;
    } buttons[] = {{m_ui->DBNavButton1, &frmDM->dsrcPrueflinge, nbsAppend},
                   {m_ui->DBNavButton2, &frmDM->dsrcPrueflinge, nbsEdit},
                   {m_ui->DBNavButton3, &frmDM->dsrcPrueflinge, nbsDelete},
                   {m_ui->btnNeuePruefung, &frmDM->dsrcPruefungen, nbsInsert},
                   {m_ui->btnPruefungBearbeiten, &frmDM->dsrcPruefungen, nbsEdit},
                   {m_ui->btnPruefungLoeschen, &frmDM->dsrcPruefungen, nbsDelete}};
    for (const auto &b : buttons) {
        b.button->setButtonStyle(b.style);
        b.button->setDataSource(b.source);
        b.button->AskAboutUnfinishedRow = true;
    }
    // An inspection needs a stored device; editing, deleting and reporting
    // need an inspection.
    const auto deviceCurrent = [] {
        const TDataSet &devices = frmDM->dsetPrueflinge;
        return devices.active() && !devices.isEmpty() && devices.state() != TDataSetState::Insert;
    };
    const auto inspectionCurrent = [deviceCurrent] { return deviceCurrent() && !frmDM->dsetPruefungen.isEmpty(); };
    m_ui->btnNeuePruefung->OnEnabledCheck = deviceCurrent;
    m_ui->btnPruefungBearbeiten->OnEnabledCheck = inspectionCurrent;
    m_ui->btnPruefungLoeschen->OnEnabledCheck = inspectionCurrent;
    for (TDBNavButton *b : {m_ui->btnNeuePruefung, m_ui->btnPruefungBearbeiten, m_ui->btnPruefungLoeschen})
        b->followCondition(&frmDM->dsrcPrueflinge);
    m_ui->DBNavButton3->DeleteQuestion = [] { return deviceDeleteQuestion(frmDM->dsetPrueflinge); };
    m_ui->btnPruefungLoeschen->DeleteQuestion = [] { return inspectionDeleteQuestion(frmDM->dsetPruefungen, frmDM->dsetPrueflinge); };
    m_inspectionLink.setDataSource(&frmDM->dsrcPruefungen);
    m_inspectionLink.onChange = [this, inspectionCurrent] {
        const bool stored = frmDM->dsetPruefungen.state() != TDataSetState::Insert; // a report reads stored rows
        m_ui->btnBerichtErzeugen->setEnabled(m_inspectionLink.active() && stored && inspectionCurrent());
    };
    m_inspectionLink.onChange();
    m_ui->btnNeuePruefung->BeforeAction = [](TDBNavButton *) {
        if (frmDM->dsetPruefungen.active())
            frmDM->dsetPruefungen.first(); // the newest inspection
    };
    // A device needs a customer: its commands wait until one is selected.
    // Their captions alone fill the narrow panel, so they go without pictures.
    // Editing and deleting need a device besides.
    for (TDBNavButton *b : {m_ui->DBNavButton1, m_ui->DBNavButton2, m_ui->DBNavButton3}) {
        const bool needsDevice = b != m_ui->DBNavButton1;
        b->OnEnabledCheck = [this, needsDevice] {
            return selectedCustomerId().has_value() && (!needsDevice || !frmDM->dsetPrueflinge.isEmpty());
        };
        b->setPicture(QIcon());
    }
    m_ui->gridPrueflinge->installEventFilter(this);
    m_ui->gridPruefungen->installEventFilter(this);
    m_ui->editLocate->installEventFilter(this);
    connect(m_ui->btnSuchen, &QPushButton::clicked, this, [this] {
        FPrueflingLocate = false;
        searchStep();
    });
    connect(m_ui->btnWeiterSuchen, &QPushButton::clicked, this, &TfrmMain::searchStep);
    connect(m_ui->gridPrueflinge, &TDBGrid::titleClicked, this, &TfrmMain::sortByColumn);
    connect(m_ui->btnBerichtErzeugen, &QPushButton::clicked, this, [this] { showBericht(0); });

    connect(m_ui->Kunden1, &QAction::triggered, this, [] { dlgKunden->show(); });
    connect(m_ui->Pruefer1, &QAction::triggered, this, [] { dlgPruefer->show(); });
    connect(m_ui->Pruefgeraete1, &QAction::triggered, this, [] { dlgPruefgeraete->show(); });
    connect(m_ui->Auftragnehmer1, &QAction::triggered, this, [] { dlgAuftragnehmer->show(); });
    connect(m_ui->Berichte1, &QAction::triggered, this, [this] { showBericht(1); });
    connect(m_ui->Faelligkeiten1, &QAction::triggered, this, &TfrmMain::showDueDates);
    addImportCommands();
    connect(m_ui->Prueflinge1, &QAction::triggered, this, [this] {
        TfrmDlgSettingPrueflinge dialog(this);
        dialog.exec();
    });
    connect(m_ui->Verbindung1, &QAction::triggered, this, [this] {
        TdlgDbConnection dialog(this);
        dialog.exec();
    });
    connect(m_ui->Neu1, &QAction::triggered, this, [this] {
        TdlgNewDatabase dialog(this);
        dialog.exec();
    });
    connect(m_ui->Backup1, &QAction::triggered, this, [this] {
        TfrmDbBackup dialog(this);
        dialog.exec();
    });
    connect(m_ui->PruefprotokolleHilfe1, &QAction::triggered, this, [] {
        // Without a browser the user still learns where the help is.
        if (!dialogs().openUrl(kHelpAddress))
            dialogs().message(QStringLiteral("Die Hilfe konnte nicht im Browser geöffnet werden.\n"
                                             "Sie finden sie unter %1")
                                  .arg(kHelpAddress.toString()));
    });
    connect(m_ui->Info1, &QAction::triggered, this, [this] {
        TdlgSplash splash(this);
        splash.exec();
    });
}

void TfrmMain::showBericht(int mode)
{
    frmDM->dsetPruefungen.updateRecord();
    showReportWindow(TPreviewExt::create(mode, this));
}

void TfrmMain::showReportWindow(const std::unique_ptr<TPreviewExt> &window)
{
    if (!window)
        return;
    window->setWindowModality(Qt::ApplicationModal);
    window->showMaximized();
    QEventLoop loop;
    connect(window.get(), &TPreviewExt::closed, &loop, &QEventLoop::quit);
    loop.exec();
}

void TfrmMain::searchStep()
{
    TDataSet &devices = frmDM->dsetPrueflinge;
    const QString text = m_ui->editLocate->text();
    if (!devices.active())
        return;
    if (!FPrueflingLocate) {
        if (devices.locatePrefix(frmDM->PrueflingeSortField, text, false)) {
            FPrueflingLocate = true;
            m_ui->gridPrueflinge->setFocus();
        } else {
            dialogs().beep();
            dialogs().message(QStringLiteral("Kein Datensatz gefunden!"), IDialogs::Icon::Warning);
            FPrueflingLocate = false;
        }
        return;
    }
    FPrueflingLocate = devices.locatePrefix(frmDM->PrueflingeSortField, text, true);
    m_ui->gridPrueflinge->setFocus();
}

void TfrmMain::sortByColumn(int column, const QString &fieldName)
{
    TDBGrid *grid = m_ui->gridPrueflinge;
    if (fieldName != frmDM->PrueflingeSortField) {
        frmDM->PrueflingeSortDir = QStringLiteral("ASC");
        frmDM->PrueflingeSortField = fieldName;
        grid->dataModel()->setTitleUnderlined(frmDM->PrueflingeSortColumn, false);
        grid->dataModel()->setTitleUnderlined(column, true);
        frmDM->PrueflingeSortColumn = column;
    } else {
        frmDM->PrueflingeSortDir = frmDM->PrueflingeSortDir == u"ASC" ? QStringLiteral("DESC") : QStringLiteral("ASC");
    }
    frmDM->setPrueflingeSQL();
}

void TfrmMain::deleteCurrentRow(TDataSet &dataSet)
{
    if (!dataSet.active() || dataSet.isEmpty() || !dataSet.canModify())
        return;
    const bool device = &dataSet == &frmDM->dsetPrueflinge;
    confirmAndDelete(dataSet, device ? deviceDeleteQuestion(dataSet) : inspectionDeleteQuestion(dataSet, frmDM->dsetPrueflinge));
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_ui->cbKunden) {
        if (!key->text().trimmed().isEmpty() && !m_ui->cbKunden->view()->isVisible())
            m_ui->cbKunden->showPopup();
        return QMainWindow::eventFilter(watched, event);
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_ui->gridPrueflinge && !enter && collectScannedKey(*key))
        return true;
    if (enter && (watched == m_ui->editLocate || watched == m_ui->gridPrueflinge)) {
        try {
            const QString typed = watched == m_ui->editLocate ? m_ui->editLocate->text() : m_typedIntoList;
            m_typedIntoList.clear();
            if (!showScannedDevice(typed))
                searchStep();
        } catch (...) {
            TApplication::showException(std::current_exception());
        }
        return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier &&
        (watched == m_ui->gridPrueflinge || watched == m_ui->gridPruefungen)) {
        try {
            deleteCurrentRow(watched == m_ui->gridPrueflinge ? frmDM->dsetPrueflinge : frmDM->dsetPruefungen);
        } catch (...) {
            TApplication::showException(std::current_exception());
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

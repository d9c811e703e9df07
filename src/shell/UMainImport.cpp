// The main window's side of the measured-value import: its commands in
// "Bearbeiten" and the refresh after an import, an undo or a new device.
#include "ImportBatchesWindow.h"
#include "ImportProfileDialog.h"
#include "ImportRunWindow.h"
#include "UDM.h"
#include "UMain.h"
#include "ui_UMain.h"

void TfrmMain::addImportCommands()
{
    QMenu *menu = m_ui->Bearbeiten1;
    menu->addSeparator();
    QAction *run = menu->addAction(QStringLiteral("&Messwerte importieren..."));
    run->setObjectName(QStringLiteral("MesswerteImportieren1"));
    QAction *profiles = menu->addAction(QStringLiteral("Importprofi&le..."));
    profiles->setObjectName(QStringLiteral("Importprofile1"));
    QAction *batches = menu->addAction(QStringLiteral("Import&stapel..."));
    batches->setObjectName(QStringLiteral("Importstapel1"));
    connect(run, &QAction::triggered, this, [this] {
        // The import writes beside the record sets: no edit may be open.
        if (!finishOpenEdits())
            return;
        auto *window = new TfrmImportRun(frmDM->Database, frmDM->DefaultPrueferId, frmDM->DefaultPruefgeraeteId, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        connect(window, &TfrmImportRun::dataChanged, this, &TfrmMain::importChangedData);
        window->show();
    });
    connect(profiles, &QAction::triggered, this, [this] {
        TdlgImportProfile dialog(frmDM->Database, this);
        dialog.exec();
    });
    connect(batches, &QAction::triggered, this, [this] {
        if (!finishOpenEdits())
            return;
        auto *window = new TfrmImportBatches(frmDM->Database, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        connect(window, &TfrmImportBatches::dataChanged, this, &TfrmMain::importChangedData);
        window->show();
    });
}

void TfrmMain::importChangedData()
{
    const std::optional<int> customer = selectedCustomerId();
    fillCbKunden(); // a device may have brought its new customer
    if (customer)
        selectCbKunden(*customer);
    showPrueflinge();
    dueDatesChanged();
}

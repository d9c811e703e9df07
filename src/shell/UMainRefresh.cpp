// Reading the lists again: "Ansicht → Aktualisieren" (F5), and the notices
// of other workstations' changes through a server.
#include "UMain.h"
#include "CustomerList.h"
#include "UDM.h"
#include "ui_UMain.h"
#include <QAction>

void TfrmMain::addRefreshCommand()
{
    m_ui->Ansicht1->addSeparator();
    QAction *refresh = m_ui->Ansicht1->addAction(QStringLiteral("A&ktualisieren"));
    refresh->setObjectName(QStringLiteral("Aktualisieren1"));
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    connect(refresh, &QAction::triggered, this, [this] {
        if (frmDM->Database.connected() && finishOpenEdits())
            refreshLists(true);
    });
}

void TfrmMain::refreshLists(bool customers)
{
    const std::optional<int> customer = selectedCustomerId();
    if (customers) {
        const QSignalBlocker quiet(m_ui->cbKunden);
        fillCustomerList(m_ui->cbKunden, *frmDM, CustomerScope::Active);
        if (customer)
            selectCbKunden(*customer);
    }
    if (customer && customer == selectedCustomerId() && frmDM->dsetPrueflinge.active()) {
        // The same customer: its devices again, the chosen one kept.
        frmDM->dsetPrueflinge.refresh();
        frmDM->dsetAnzahlPrueflinge.refresh();
        updateDeviceCommands();
    } else {
        showPrueflinge();
    }
    dueDatesChanged();
}

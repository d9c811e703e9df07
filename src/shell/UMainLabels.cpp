// The main window's side of labels: the label window, and the payload of a
// label that a hand scanner types.
#include "Dialogs.h"
#include "ScannedDevice.h"
#include "UEtiketten.h"
#include "UMain.h"
#include "ui_UMain.h"
#include <QKeyEvent>
#include <QShortcut>

namespace {
// A scanner types a payload within a moment; keys further apart start anew.
constexpr int kScanPauseMs = 1000;
} // namespace

void TfrmMain::setupScanning()
{
    auto *find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, [this] {
        m_ui->editLocate->setFocus(Qt::ShortcutFocusReason);
        m_ui->editLocate->selectAll();
    });
    connect(m_ui->Etiketten1, &QAction::triggered, this, &TfrmMain::showLabels);
    // Enter on "Neue Prüfung" after a scan starts the inspection.
    m_ui->btnNeuePruefung->setAutoDefault(true);
    // Labels for several devices: Ctrl+click and Shift+click select them.
    m_ui->gridPrueflinge->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

bool TfrmMain::collectScannedKey(const QKeyEvent &key)
{
    if (key.text().isEmpty() || !key.text().at(0).isPrint())
        return false;
    if (!m_lastTypedKey.isValid() || m_lastTypedKey.elapsed() > kScanPauseMs)
        m_typedIntoList.clear();
    m_lastTypedKey.start();
    m_typedIntoList += key.text();
    // What starts like a payload is kept from the list's own search by
    // first letters, which would move the current device meanwhile.
    return QStringLiteral("VPP1;").startsWith(m_typedIntoList.left(5), Qt::CaseInsensitive);
}

bool TfrmMain::showScannedDevice(const QString &text)
{
    const std::optional<TLabelPayload> payload = payloadInText(text);
    if (!payload)
        return false;
    if (!frmDM->Database.connected())
        return true;
    const std::optional<QString> number = scannedDeviceNumber(frmDM->Database, *payload);
    if (!number) {
        dialogs().beep();
        dialogs().message(QStringLiteral("Das Etikett nennt einen Prüfling, den es in dieser Datenbank nicht gibt "
                                         "(Kunde %1, Prüfling %2, Nummer %3).")
                              .arg(payload->customerId)
                              .arg(payload->deviceId)
                              .arg(payload->deviceNumber.isEmpty() ? QStringLiteral("keine") : payload->deviceNumber),
                          IDialogs::Icon::Warning);
        return true;
    }
    showDevice(payload->customerId, payload->deviceId);
    m_ui->editLocate->clear();
    FPrueflingLocate = false;
    // A label of another database with the same keys, or a device numbered
    // anew: the user should know before inspecting.
    if (*number != payload->deviceNumber)
        dialogs().message(QStringLiteral("Auf dem Etikett steht die Nummer %1, gespeichert ist für diesen Prüfling die Nummer %2.")
                              .arg(payload->deviceNumber.isEmpty() ? QStringLiteral("keine") : payload->deviceNumber,
                                   number->isEmpty() ? QStringLiteral("keine") : *number),
                          IDialogs::Icon::Information);
    if (m_ui->btnNeuePruefung->isEnabled())
        m_ui->btnNeuePruefung->setFocus(Qt::OtherFocusReason);
    return true;
}

QList<int> TfrmMain::selectedDeviceIds() const
{
    TDataSet &devices = frmDM->dsetPrueflinge;
    QList<int> ids;
    if (!devices.active() || devices.isEmpty())
        return ids;
    const TField *id = devices.fieldByName(QStringLiteral("ID"));
    const QModelIndexList rows = m_ui->gridPrueflinge->selectionModel()->selectedRows();
    for (const QModelIndex &row : rows)
        if (row.row() < devices.recordCount())
            ids << static_cast<int>(valueToInteger(devices.valueAt(row.row(), id)));
    return ids;
}

void TfrmMain::showLabels()
{
    frmDM->dsetPruefungen.updateRecord();
    TLabelChoice choice;
    TDataSet &devices = frmDM->dsetPrueflinge;
    if (devices.active() && !devices.isEmpty() && devices.state() != TDataSetState::Insert)
        choice.currentDevice = static_cast<int>(devices.fieldByName(QStringLiteral("ID"))->asInteger());
    choice.selectedDevices = selectedDeviceIds();
    choice.customerId = selectedCustomerId().value_or(-1);
    TfrmEtiketten window(choice, this);
    window.exec();
}

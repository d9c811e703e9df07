// The main window's side of the "Fälligkeiten" window.
#include "DeviceAttentionMarks.h"
#include "UDueDates.h"
#include "UMain.h"
#include "UPreviewExt.h"

void TfrmMain::showDueDates()
{
    if (!m_dueDates) {
        m_dueDates = new TfrmDueDates(this);
        connect(m_dueDates, &TfrmDueDates::deviceChosen, this, &TfrmMain::showDevice);
        connect(m_dueDates, &TfrmDueDates::printRequested, this, [this](const TReportSelection &selection) {
            showReportWindow(TPreviewExt::create(selection, QStringLiteral("Fälligkeiten"), this));
        });
    }
    m_dueDates->reload();
    m_dueDates->show();
    m_dueDates->raise();
    m_dueDates->activateWindow();
}

void TfrmMain::showDevice(int kundeId, int prueflingId)
{
    if (!finishOpenEdits())
        return;
    selectCbKunden(kundeId);
    showPrueflinge();
    frmDM->dsetPrueflinge.locate(QStringLiteral("ID"), TValue(qint64(prueflingId)));
    raise();
    activateWindow();
}

void TfrmMain::dueDatesChanged()
{
    showDeviceCount(); // a device was stored or deleted, or an inspection
    showDueCounts();
    m_attentionMarks->currentDeviceChanged();
    if (m_dueDates && m_dueDates->isVisible())
        m_dueDates->reload();
}

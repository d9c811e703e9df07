// The main window's attention marks on its device grid.
#include "DeviceAttentionMarks.h"
#include "UMain.h"
#include "ui_UMain.h"

void TfrmMain::showAttentionMarks()
{
    m_attentionMarks = new TDeviceAttentionMarks(m_ui->gridPrueflinge, &frmDM->dsetPrueflinge);
}

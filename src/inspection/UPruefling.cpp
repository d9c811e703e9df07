#include "UPruefling.h"

TfrmPruefling *frmPruefling = nullptr;

TfrmPruefling::TfrmPruefling(QWidget *parent) : QDialog(parent)
{
    frmPruefling = this;
    setObjectName(QStringLiteral("TfrmPruefling"));
    setWindowTitle(QStringLiteral("Prüfling"));
    if (frmDM)
        frmDM->setDeviceView(this);
}

TfrmPruefling::~TfrmPruefling()
{
    if (frmDM && frmDM->deviceView() == this)
        frmDM->setDeviceView(nullptr);
    if (frmPruefling == this)
        frmPruefling = nullptr;
}

void TfrmPruefling::showImage(const QString &schutzklasse) { shownSchutzklasse = schutzklasse; }

void TfrmPruefling::fillBezeichnungen() {}

void TfrmPruefling::fillOrte() {}

void TfrmPruefling::showWindow()
{
    show();
    raise();
    activateWindow();
}

#include "UPruefling.h"

TfrmPruefling *frmPruefling = nullptr;

TfrmPruefling::TfrmPruefling(QWidget *parent) : QDialog(parent)
{
    frmPruefling = this;
    setObjectName(QStringLiteral("TfrmPruefling"));
    setWindowTitle(QStringLiteral("Prüfling"));
}

TfrmPruefling::~TfrmPruefling()
{
    if (frmPruefling == this)
        frmPruefling = nullptr;
}

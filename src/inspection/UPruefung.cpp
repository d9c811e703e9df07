#include "UPruefung.h"

TfrmPruefung *frmPruefung = nullptr;

TfrmPruefung::TfrmPruefung(QWidget *parent) : QDialog(parent)
{
    frmPruefung = this;
    setObjectName(QStringLiteral("TfrmPruefung"));
    setWindowTitle(QStringLiteral("Prüfung"));
}

TfrmPruefung::~TfrmPruefung()
{
    if (frmPruefung == this)
        frmPruefung = nullptr;
}

#include "UDlgPruefgeraet.h"

TdlgPruefgeraete *dlgPruefgeraete = nullptr;

TdlgPruefgeraete::TdlgPruefgeraete(QWidget *parent) : QDialog(parent)
{
    dlgPruefgeraete = this;
    setObjectName(QStringLiteral("TdlgPruefgeraete"));
    setWindowTitle(QStringLiteral("Prüfgeräte"));
}

TdlgPruefgeraete::~TdlgPruefgeraete()
{
    if (dlgPruefgeraete == this)
        dlgPruefgeraete = nullptr;
}

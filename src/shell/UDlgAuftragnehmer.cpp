#include "UDlgAuftragnehmer.h"

TdlgAuftragnehmer *dlgAuftragnehmer = nullptr;

TdlgAuftragnehmer::TdlgAuftragnehmer(QWidget *parent) : QDialog(parent)
{
    dlgAuftragnehmer = this;
    setObjectName(QStringLiteral("TdlgAuftragnehmer"));
    setWindowTitle(QStringLiteral("Auftragnehmer"));
}

TdlgAuftragnehmer::~TdlgAuftragnehmer()
{
    if (dlgAuftragnehmer == this)
        dlgAuftragnehmer = nullptr;
}

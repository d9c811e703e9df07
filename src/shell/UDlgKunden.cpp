#include "UDlgKunden.h"

TdlgKunden *dlgKunden = nullptr;

TdlgKunden::TdlgKunden(QWidget *parent) : QDialog(parent)
{
    dlgKunden = this;
    setObjectName(QStringLiteral("TdlgKunden"));
    setWindowTitle(QStringLiteral("Kunden"));
}

TdlgKunden::~TdlgKunden()
{
    if (dlgKunden == this)
        dlgKunden = nullptr;
}

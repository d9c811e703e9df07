#include "UDlgPruefer.h"

TdlgPruefer *dlgPruefer = nullptr;

TdlgPruefer::TdlgPruefer(QWidget *parent) : QDialog(parent)
{
    dlgPruefer = this;
    setObjectName(QStringLiteral("TdlgPruefer"));
    setWindowTitle(QStringLiteral("Prüfer"));
}

TdlgPruefer::~TdlgPruefer()
{
    if (dlgPruefer == this)
        dlgPruefer = nullptr;
}

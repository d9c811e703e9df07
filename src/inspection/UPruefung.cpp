#include "UPruefung.h"
#include <QLabel>
#include <QVBoxLayout>

TfrmPruefung *frmPruefung = nullptr;

TfrmPruefung::TfrmPruefung(QWidget *parent) : QDialog(parent)
{
    frmPruefung = this;
    setObjectName(QStringLiteral("TfrmPruefung"));
    setWindowTitle(QStringLiteral("Prüfung"));
    Label9 = new QLabel(QStringLiteral("Vorherige Messung"), this);
    Label9->setObjectName(QStringLiteral("Label9"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label9);
    if (frmDM)
        frmDM->setInspectionView(this);
}

TfrmPruefung::~TfrmPruefung()
{
    if (frmDM && frmDM->inspectionView() == this)
        frmDM->setInspectionView(nullptr);
    if (frmPruefung == this)
        frmPruefung = nullptr;
}

void TfrmPruefung::setComparisonHeading(const QString &text) { Label9->setText(text); }

void TfrmPruefung::showWindow()
{
    show();
    raise();
    activateWindow();
}

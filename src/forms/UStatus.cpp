#include "UStatus.h"
#include <QLabel>
#include <QVBoxLayout>

TfrmStatus *frmStatus = nullptr;

TfrmStatus::TfrmStatus(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    frmStatus = this;
    setObjectName(QStringLiteral("TfrmStatus"));
    setWindowTitle(QStringLiteral("Status"));
    setStyleSheet(QStringLiteral("TfrmStatus { border: 1px solid palette(dark); }"));
    Label1 = new QLabel(QStringLiteral("Einen Moment bitte..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    resize(250, 60);
}

TfrmStatus::~TfrmStatus()
{
    if (frmStatus == this)
        frmStatus = nullptr;
}

#include "UStatus.h"
#include <QLabel>
#include <QPushButton>
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
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("btnAbbrechen"));
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_cancelRequested = true;
        Label1->setText(QStringLiteral("Wird abgebrochen..."));
    });
    setWindowModality(Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    resize(250, 90);
}

void TfrmStatus::start(const QString &text)
{
    m_cancelRequested = false;
    Label1->setText(text);
    show();
}

TfrmStatus::~TfrmStatus()
{
    if (frmStatus == this)
        frmStatus = nullptr;
}

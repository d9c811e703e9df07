#include "UDlgSettingPrueflinge.h"
#include "Dialogs.h"
#include "UDM.h"
#include "USettings.h"
#include "ui_UDlgSettingPrueflinge.h"
#include <QCloseEvent>

TfrmDlgSettingPrueflinge::TfrmDlgSettingPrueflinge(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TfrmDlgSettingPrueflinge>())
{
    m_ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // FormCreate: any value that is not one of the choices shows the first.
    const int stored = frmDM->Settings()->DefaultIntervallPruefling();
    const QList<QAbstractButton *> buttons = choices();
    int position = 0;
    for (int i = 0; i < buttons.size(); ++i)
        if (Months[i] == stored)
            position = i;
    buttons.at(position)->setChecked(true);
    aChanged = false;
    for (QAbstractButton *b : buttons)
        connect(b, &QAbstractButton::clicked, this, [this] { aChanged = true; });
    connect(m_ui->btnSichern, &QPushButton::clicked, this, &TfrmDlgSettingPrueflinge::saveDefaultSetting);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &QWidget::close);
}

TfrmDlgSettingPrueflinge::~TfrmDlgSettingPrueflinge() = default;

QList<QAbstractButton *> TfrmDlgSettingPrueflinge::choices() const
{
    return {m_ui->rb3, m_ui->rb6, m_ui->rb12, m_ui->rb24, m_ui->rb36, m_ui->rb48};
}

int TfrmDlgSettingPrueflinge::selectedPosition() const
{
    const QList<QAbstractButton *> buttons = choices();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons.at(i)->isChecked())
            return i;
    return -1;
}

void TfrmDlgSettingPrueflinge::saveDefaultSetting()
{
    const int position = selectedPosition();
    frmDM->Settings()->setDefaultIntervallPruefling(position < 0 ? 0 : Months[position]);
    aChanged = false;
}

void TfrmDlgSettingPrueflinge::closeEvent(QCloseEvent *event)
{
    if (!aChanged) {
        event->accept();
        return;
    }
    switch (dialogs().ask(QStringLiteral("Einstellung geändert...\r\nSichern?"), IDialogs::Buttons::YesNoCancel)) {
    case IDialogs::Answer::Yes:
        saveDefaultSetting();
        event->accept();
        break;
    case IDialogs::Answer::No:
        event->accept();
        break;
    default:
        event->ignore();
        break;
    }
}

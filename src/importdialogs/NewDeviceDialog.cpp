#include "NewDeviceDialog.h"
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

TdlgNewDevice::TdlgNewDevice(const QString &customer, const QString &number, int interval, QWidget *parent)
    : QDialog(parent), m_name(new QLineEdit(this)), m_class(new QComboBox(this)), m_interval(new QSpinBox(this))
{
    setObjectName(QStringLiteral("dlgNewDevice"));
    setWindowTitle(QStringLiteral("Prüfling anlegen"));
    m_name->setObjectName(QStringLiteral("edBezeichnung"));
    m_name->setMaxLength(50);
    m_class->setObjectName(QStringLiteral("cbSchutzklasse"));
    // No class is preselected: it changes the leakage limit.
    m_class->addItems({QString(), QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III")});
    m_interval->setObjectName(QStringLiteral("spIntervall"));
    m_interval->setRange(1, 120);
    m_interval->setValue(interval);
    m_interval->setSuffix(QStringLiteral(" Monate"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Kunde:"), new QLabel(customer, this));
    form->addRow(QStringLiteral("Nummer:"), new QLabel(number, this));
    form->addRow(QStringLiteral("&Bezeichnung:"), m_name);
    form->addRow(QStringLiteral("&Schutzklasse:"), m_class);
    form->addRow(QStringLiteral("Prüf&intervall:"), m_interval);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&Anlegen"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnAnlegen"));
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    form->addRow(buttons);
    const auto updateOk = [this, ok] { ok->setEnabled(!m_name->text().trimmed().isEmpty() && !m_class->currentText().isEmpty()); };
    connect(m_name, &QLineEdit::textChanged, this, updateOk);
    connect(m_class, &QComboBox::currentTextChanged, this, updateOk);
    updateOk();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TNewDeviceChoice TdlgNewDevice::choice() const
{
    return {m_name->text().trimmed(), m_class->currentText(), m_interval->value()};
}

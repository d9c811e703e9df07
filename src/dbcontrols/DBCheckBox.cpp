#include "DBCheckBox.h"
#include "Field.h"

TDBCheckBox::TDBCheckBox(QWidget *parent) : TDBCheckBox(QString(), parent) {}

TDBCheckBox::TDBCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent)
{
    setTristate(true);
    m_link.onDataChange = [this] { showValue(); };
    showValue();
}

void TDBCheckBox::showValue()
{
    const TField *f = m_link.field();
    if (!f)
        setCheckState(Qt::Unchecked);
    else if (f->isNull())
        setCheckState(Qt::PartiallyChecked);
    else
        setCheckState(f->asBoolean() ? Qt::Checked : Qt::Unchecked);
}

void TDBCheckBox::nextCheckState()
{
    if (m_readOnly || !m_link.startEdit())
        return;
    const bool tick = checkState() != Qt::Checked;
    // The link shows the field's value afterwards, whether the value was
    // taken or refused.
    m_link.writeValue(TValue(qint64(tick ? 1 : 0)));
}

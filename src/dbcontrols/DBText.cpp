#include "DBText.h"
#include "Field.h"

TDBText::TDBText(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    m_link.onDataChange = [this] { showValue(); };
}

void TDBText::showValue()
{
    const TField *f = m_link.field();
    setText(f ? f->displayText() : QString());
}

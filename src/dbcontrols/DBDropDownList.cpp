#include "DBDropDownList.h"
#include "Field.h"

TDBDropDownList::TDBDropDownList(QWidget *parent) : TFieldPickBox(parent)
{
    m_link.onDataChange = [this] { showValue(); };
}

void TDBDropDownList::showValue()
{
    const TField *f = m_link.field();
    setCurrentIndex(f && !f->isNull() ? findText(f->asString()) : -1);
}

bool TDBDropDownList::writeItem(int index)
{
    return m_link.writeText(itemText(index)) == TFieldDataLink::WriteResult::Written;
}

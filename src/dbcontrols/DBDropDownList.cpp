#include "DBDropDownList.h"
#include "Field.h"
#include <QKeyEvent>
#include <QWheelEvent>

TDBDropDownList::TDBDropDownList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    m_link.onDataChange = [this] { showValue(); };
    connect(this, &QComboBox::activated, this, &TDBDropDownList::itemPicked);
}

void TDBDropDownList::showValue()
{
    const TField *f = m_link.field();
    setCurrentIndex(f && !f->isNull() ? findText(f->asString()) : -1);
}

void TDBDropDownList::itemPicked(int index)
{
    if (m_readOnly || m_link.writeText(itemText(index)) != TFieldDataLink::WriteResult::Written)
        showValue();
}

void TDBDropDownList::showPopup()
{
    if (m_readOnly || !m_link.canModify())
        return;
    QComboBox::showPopup();
}

void TDBDropDownList::keyPressEvent(QKeyEvent *event)
{
    // Letters and arrows pick items; refuse them when nothing may change.
    if ((m_readOnly || !m_link.canModify()) && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab &&
        event->key() != Qt::Key_Escape && event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TDBDropDownList::wheelEvent(QWheelEvent *event)
{
    // Scrolling over the box must not change the record by accident.
    event->ignore();
}

#include "FieldPickBox.h"
#include <QKeyEvent>
#include <QWheelEvent>

TFieldPickBox::TFieldPickBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int index) {
        // A pick that did not reach the field shows the field's value again.
        if (m_readOnly || !writeItem(index))
            m_link.showValue();
    });
}

void TFieldPickBox::showPopup()
{
    if (!mayPick())
        return;
    QComboBox::showPopup();
}

void TFieldPickBox::keyPressEvent(QKeyEvent *event)
{
    // Letters and arrows pick items; refuse them when nothing may change.
    if (!mayPick() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab &&
        event->key() != Qt::Key_Escape && event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TFieldPickBox::wheelEvent(QWheelEvent *event)
{
    // Scrolling over the box must not change the record by accident.
    event->ignore();
}

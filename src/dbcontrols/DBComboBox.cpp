#include "DBComboBox.h"
#include "EditKeys.h"
#include "Field.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

TDBComboBox::TDBComboBox(QWidget *parent) : TPendingTextBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    m_link.onDataChange = [this] { showValue(); };
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { inputEdited(); });
    connect(this, &QComboBox::activated, this, &TDBComboBox::itemPicked);
}

void TDBComboBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    lineEdit()->setReadOnly(readOnly);
}

void TDBComboBox::showValue()
{
    const TField *f = m_link.field();
    const bool limited = f && f->dataType() == TFieldType::String && f->size() > 0;
    lineEdit()->setMaxLength(limited ? f->size() : 32767);
    const QString shown = !f ? QString() : hasFocus() ? f->editText() : f->displayText();
    // The list's current item follows the value, so that the box does not
    // take a differing current item for a choice when it loses the focus.
    const int index = findText(shown);
    if (currentIndex() != index)
        setCurrentIndex(index);
    if (currentText() != shown)
        setEditText(shown);
}

void TDBComboBox::itemPicked(int index)
{
    if (m_readOnly) {
        m_link.reset();
        return;
    }
    const QString picked = itemText(index);
    if (m_link.writeText(picked) != TFieldDataLink::WriteResult::Written)
        m_link.reset();
}

void TDBComboBox::keepRefusedInput()
{
    lineEdit()->selectAll();
    setFocus(Qt::OtherFocusReason);
}

void TDBComboBox::showPopup()
{
    if (m_readOnly || !m_link.canModify())
        return;
    QComboBox::showPopup();
}

void TDBComboBox::keyPressEvent(QKeyEvent *event)
{
    bool refused = false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Stepping through the items picks them; refused like typing.
        refused = m_readOnly || !m_link.canModify();
        break;
    default:
        // Typing into a read-only box ends here instead of going on to the
        // window.
        refused = m_readOnly && dbcontrols::isEditingKey(event, false);
        break;
    }
    if (refused)
        event->accept();
    else
        TPendingTextBox::keyPressEvent(event);
}

void TDBComboBox::wheelEvent(QWheelEvent *event)
{
    // Scrolling over the box must not change the record by accident.
    event->ignore();
}

#include "DBComboBox.h"
#include "DbError.h"
#include "EditKeys.h"
#include "Field.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

TDBComboBox::TDBComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    m_link.onDataChange = [this] { showValue(); };
    m_link.onUpdateData = [this] { writePending(true); };
    connect(lineEdit(), &QLineEdit::textEdited, this, &TDBComboBox::userEdited);
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

void TDBComboBox::userEdited()
{
    if (!m_link.editing() || !m_link.canModify()) {
        const QString typed = currentText();
        if (!m_link.startEdit()) {
            m_link.reset();
            return;
        }
        if (currentText() != typed)
            setEditText(typed);
    }
    m_link.setModified();
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

bool TDBComboBox::writePending(bool abortWhenRefused)
{
    if (!m_link.modified())
        return true;
    switch (m_link.writeText(currentText())) {
    case TFieldDataLink::WriteResult::Written:
        return true;
    case TFieldDataLink::WriteResult::Refused:
        lineEdit()->selectAll();
        setFocus(Qt::OtherFocusReason);
        break;
    case TFieldDataLink::WriteResult::Reverted:
        break;
    }
    if (abortWhenRefused)
        abortSilently();
    return false;
}

void TDBComboBox::showPopup()
{
    if (m_readOnly || !m_link.canModify())
        return;
    QComboBox::showPopup();
}

void TDBComboBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_link.modified()) {
            m_link.reset();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!writePending(false)) {
            event->accept();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Stepping through the items picks them; refused like typing.
        if (m_readOnly || !m_link.canModify()) {
            event->accept();
            return;
        }
        break;
    default:
        if (dbcontrols::isEditingKey(event, false) && (m_readOnly || !m_link.startEdit())) {
            event->accept();
            return;
        }
        break;
    }
    QComboBox::keyPressEvent(event);
}

void TDBComboBox::wheelEvent(QWheelEvent *event)
{
    // Scrolling over the box must not change the record by accident.
    event->ignore();
}

void TDBComboBox::focusInEvent(QFocusEvent *event)
{
    if (!m_link.modified())
        showValue();
    QComboBox::focusInEvent(event);
}

void TDBComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (writePending(false))
        showValue();
}

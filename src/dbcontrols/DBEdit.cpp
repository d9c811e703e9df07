#include "DBEdit.h"
#include "DbError.h"
#include "EditKeys.h"
#include "Field.h"
#include <QFocusEvent>
#include <QKeyEvent>

namespace {
constexpr int unlimitedLength = 32767; // QLineEdit's own default
}

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent)
{
    m_link.onDataChange = [this] { showValue(); };
    m_link.onUpdateData = [this] { writePending(true); };
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::userEdited);
}

void TDBEdit::showValue()
{
    const TField *f = m_link.field();
    const bool limited = f && f->dataType() == TFieldType::String && f->size() > 0;
    setMaxLength(limited ? f->size() : unlimitedLength);
    setAlignment((f ? f->alignment & Qt::AlignHorizontal_Mask : Qt::AlignLeft) | Qt::AlignVCenter);
    const QString shown = !f ? QString() : hasFocus() ? f->editText() : f->displayText();
    // setText would move the cursor to the end; leave an equal text alone.
    if (text() != shown)
        setText(shown);
}

void TDBEdit::userEdited()
{
    // Keys start the edit before they change the text (keyPressEvent); this
    // catches changes that come another way (context menu, drop).
    if (!m_link.editing() || !m_link.canModify()) {
        const QString typed = text();
        if (!m_link.startEdit()) {
            m_link.reset();
            return;
        }
        if (text() != typed)
            setText(typed);
    }
    m_link.setModified();
}

bool TDBEdit::writePending(bool abortWhenRefused)
{
    if (!m_link.modified())
        return true;
    switch (m_link.writeText(text())) {
    case TFieldDataLink::WriteResult::Written:
        return true;
    case TFieldDataLink::WriteResult::Refused:
        selectAll();
        setFocus(Qt::OtherFocusReason);
        break;
    case TFieldDataLink::WriteResult::Reverted:
        break;
    }
    if (abortWhenRefused)
        abortSilently();
    return false;
}

void TDBEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_link.modified()) {
            m_link.reset();
            selectAll();
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
    default:
        if (!isReadOnly() && dbcontrols::isEditingKey(event, false) && !m_link.startEdit()) {
            event->accept();
            return;
        }
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_link.modified())
        showValue();
    QLineEdit::focusInEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (context menu) or another window taking the focus does not
    // end the input.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (writePending(false))
        showValue();
}

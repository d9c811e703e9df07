#include "PendingTextInput.h"
#include "DbError.h"
#include "EditKeys.h"
#include <QFocusEvent>
#include <QKeyEvent>

TPendingTextInput::TPendingTextInput(Lines lines) : m_lines(lines)
{
    // Refused input stops the post or the move that asked for it.
    m_link.onUpdateData = [this] { writePending(true); };
}

void TPendingTextInput::inputEdited()
{
    // Keys start the edit before they change the text (takesKey); this
    // catches changes that come another way (context menu, drop).
    if (!m_link.editing() || !m_link.canModify()) {
        const QString typed = inputText();
        if (!m_link.startEdit()) {
            m_link.reset();
            return;
        }
        if (inputText() != typed)
            restoreTypedText(typed);
    }
    m_link.setModified();
}

bool TPendingTextInput::writePending(bool abortWhenRefused)
{
    if (!m_link.modified())
        return true;
    switch (m_link.writeText(inputText())) {
    case TFieldDataLink::WriteResult::Written:
        return true;
    case TFieldDataLink::WriteResult::Refused:
        keepRefusedInput();
        break;
    case TFieldDataLink::WriteResult::Reverted:
        break;
    }
    if (abortWhenRefused)
        abortSilently();
    return false;
}

bool TPendingTextInput::takesKey(QKeyEvent *event)
{
    const bool multiLine = m_lines == Lines::Several;
    bool taken = false;
    switch (event->key()) {
    case Qt::Key_Escape:
        // Without pending text Escape is left to the box and its window.
        taken = m_link.modified();
        if (taken) {
            m_link.reset();
            pendingInputDropped();
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!multiLine) {
            taken = !writePending(false);
            break;
        }
        [[fallthrough]]; // a line break is typing
    default:
        // A read-only box ignores typing itself.
        taken = !isInputReadOnly() && dbcontrols::isEditingKey(event, multiLine) && !m_link.startEdit();
        break;
    }
    if (taken)
        event->accept();
    return taken;
}

void TPendingTextInput::inputFocused()
{
    // Focused, a box shows the edit text.
    if (!m_link.modified())
        m_link.showValue();
}

void TPendingTextInput::inputLeft(const QFocusEvent *event)
{
    // A popup (context menu) or another window taking the focus does not
    // end the input.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    // Unfocused, a box shows the display text.
    if (writePending(false))
        m_link.showValue();
}

#include "DBMemo.h"
#include "DbError.h"
#include "EditKeys.h"
#include "Field.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>

TDBMemo::TDBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    m_link.onDataChange = [this] { showValue(); };
    m_link.onUpdateData = [this] { writePending(true); };
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::userEdited);
}

void TDBMemo::showValue()
{
    const TField *f = m_link.field();
    const QString shown = f ? f->editText() : QString();
    if (toPlainText() == shown)
        return;
    QScopedValueRollback<bool> guard(m_loading, true);
    setPlainText(shown);
}

void TDBMemo::userEdited()
{
    if (m_loading)
        return;
    if (!m_link.editing() || !m_link.canModify()) {
        const QString typed = toPlainText();
        if (!m_link.startEdit()) {
            m_link.reset();
            return;
        }
        if (toPlainText() != typed) {
            QScopedValueRollback<bool> guard(m_loading, true);
            setPlainText(typed);
        }
    }
    m_link.setModified();
}

bool TDBMemo::writePending(bool abortWhenRefused)
{
    if (!m_link.modified())
        return true;
    switch (m_link.writeText(toPlainText())) {
    case TFieldDataLink::WriteResult::Written:
        return true;
    case TFieldDataLink::WriteResult::Refused:
        setFocus(Qt::OtherFocusReason);
        break;
    case TFieldDataLink::WriteResult::Reverted:
        break;
    }
    if (abortWhenRefused)
        abortSilently();
    return false;
}

void TDBMemo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link.modified()) {
        m_link.reset();
        event->accept();
        return;
    }
    if (!isReadOnly() && dbcontrols::isEditingKey(event, true) && !m_link.startEdit()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TDBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    writePending(false);
}

#include "DBMemo.h"
#include "Field.h"
#include <QScopedValueRollback>

TDBMemo::TDBMemo(QWidget *parent) : TPendingTextBox(parent, Lines::Several)
{
    setTabChangesFocus(true);
    m_link.onDataChange = [this] { showValue(); };
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            inputEdited();
    });
}

void TDBMemo::showValue()
{
    const TField *f = m_link.field();
    const QString shown = f ? f->editText() : QString();
    if (toPlainText() != shown)
        loadText(shown);
}

void TDBMemo::loadText(const QString &text)
{
    QScopedValueRollback<bool> guard(m_loading, true);
    setPlainText(text);
}

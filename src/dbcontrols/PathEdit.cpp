#include "PathEdit.h"

TPathEdit::TPathEdit(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &path) {
        setToolTip(path);
        if (!hasFocus())
            setCursorPosition(0);
    });
}

void TPathEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    setCursorPosition(0);
}

#include "DBEdit.h"
#include "Field.h"

namespace {
constexpr int unlimitedLength = 32767; // QLineEdit's own default
}

TDBEdit::TDBEdit(QWidget *parent) : TPendingTextBox(parent)
{
    m_link.onDataChange = [this] { showValue(); };
    connect(this, &QLineEdit::textEdited, this, [this] { inputEdited(); });
}

void TDBEdit::showValue()
{
    const TField *f = m_link.field();
    const bool limited = f && f->dataType() == TFieldType::String && f->size() > 0;
    // Setting the length, even an equal one, drops the selection, so that
    // typing over a selected value would append to it instead.
    const int length = limited ? f->size() : unlimitedLength;
    if (maxLength() != length)
        setMaxLength(length);
    setAlignment((f ? f->alignment & Qt::AlignHorizontal_Mask : Qt::AlignLeft) | Qt::AlignVCenter);
    const QString shown = !f ? QString() : hasFocus() ? f->editText() : f->displayText();
    // setText would move the cursor to the end; leave an equal text alone.
    if (text() != shown)
        setText(shown);
}

void TDBEdit::keepRefusedInput()
{
    selectAll();
    setFocus(Qt::OtherFocusReason);
}

#include "DBEdit.h"
#include "Dialogs.h"
#include "Field.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <memory>

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

bool TDBEdit::takesFraction() const
{
    const TField *f = m_link.field();
    return f && (f->dataType() == TFieldType::Decimal || f->dataType() == TFieldType::Float);
}

void TDBEdit::keyPressEvent(QKeyEvent *event)
{
    const bool keypadSeparator = (event->modifiers() & Qt::KeypadModifier) &&
                                 (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
    if (keypadSeparator && takesFraction()) {
        QKeyEvent comma(event->type(), event->key(), event->modifiers(), QLocale().decimalPoint());
        TPendingTextBox::keyPressEvent(&comma);
        return;
    }
    const bool paste = event->matches(QKeySequence::Paste) && !isReadOnly();
    const qsizetype room = roomForPaste();
    TPendingTextBox::keyPressEvent(event);
    if (paste)
        tellCutPaste(room);
}

void TDBEdit::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // The standard menu's actions carry no names; the paste action is known
    // by the line edit's own (translated) text, before the shortcut.
    for (QAction *action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste")) // runs after the paste itself
            connect(action, &QAction::triggered, menu.get(), [this, room = roomForPaste()] { tellCutPaste(room); });
    menu->exec(event->globalPos());
}

qsizetype TDBEdit::roomForPaste() const { return maxLength() - (text().size() - selectedText().size()); }

void TDBEdit::tellCutPaste(qsizetype room)
{
    const TField *f = m_link.field();
    if (!f || maxLength() == unlimitedLength || QGuiApplication::clipboard()->text().size() <= room)
        return;
    dialogs().message(QStringLiteral("\u201E%1\u201C fasst höchstens %2 Zeichen; der Rest wurde nicht übernommen.")
                          .arg(f->label())
                          .arg(maxLength()),
                      IDialogs::Icon::Warning);
}

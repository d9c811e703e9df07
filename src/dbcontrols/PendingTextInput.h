#pragma once
#include "FieldControl.h"

class QFocusEvent;
class QKeyEvent;

// The input rules the text boxes bound to a field share. Typing starts
// editing the current row; the typed text stays pending until the box is
// left, Enter is pressed (single-line boxes) or the record set's update step
// asks for it before post or a move. A text the field refuses stays in the
// box, which keeps the focus; a value a rule refuses (EAbort) is replaced by
// the field's old one. Escape drops the pending text.
//
// The box itself supplies its text and its reaction to a refusal through
// the hooks below; TPendingTextBox routes its Qt events here.
class TPendingTextInput : public TFieldControl {
public:
    // Typed text not yet written into the field.
    bool hasPendingInput() const { return m_link.modified(); }
    // Writes pending input now; false when it was refused or reverted.
    bool writePendingInput() { return writePending(false); }

protected:
    // In a box of several lines Return and Enter type a line break.
    enum class Lines { Single, Several };

    explicit TPendingTextInput(Lines lines);
    virtual ~TPendingTextInput() = default;

    // The user changed the box's text.
    void inputEdited();
    // Handles the keys that concern pending input; true when the key is used
    // up and must not reach the box.
    bool takesKey(QKeyEvent *event);
    void inputFocused();
    void inputLeft(const QFocusEvent *event);

private:
    virtual QString inputText() const = 0;
    // Puts the typed text back after starting the edit showed the field's.
    virtual void restoreTypedText(const QString &typed) = 0;
    // The field refused the text: keep it in sight and the focus in the box.
    virtual void keepRefusedInput() = 0;
    virtual bool isInputReadOnly() const = 0;
    virtual void pendingInputDropped() {}

    bool writePending(bool abortWhenRefused);

    const Lines m_lines;
};

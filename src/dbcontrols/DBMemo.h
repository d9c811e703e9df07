#pragma once
#include "PendingTextBox.h"
#include <QPlainTextEdit>

// A text box of several lines bound to a memo (or text) field. Typing
// starts editing the current row; the text is written into the field when
// the box loses the focus and in the record set's update step before post
// or a move. Tab moves the focus on.
class TDBMemo : public TPendingTextBox<QPlainTextEdit> {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);

private:
    void showValue();
    // Puts a text into the box without taking it for the user's input.
    void loadText(const QString &text);

    QString inputText() const override { return toPlainText(); }
    void restoreTypedText(const QString &typed) override { loadText(typed); }
    void keepRefusedInput() override { setFocus(Qt::OtherFocusReason); }
    bool isInputReadOnly() const override { return isReadOnly(); }

    bool m_loading = false;
};

#pragma once
#include "PendingTextBox.h"
#include <QLineEdit>

// A line edit bound to one field. Shows the display text, and the edit
// text while it has the focus. Typing starts editing the current row; the
// typed text is written into the field when the box loses the focus, on
// Enter, and in the record set's update step before post or a move. A text
// the field refuses is shown through the dialog seam and stays in the box,
// which keeps the focus. A paste longer than a text field's size is cut to
// it with a message.
class TDBEdit : public TPendingTextBox<QLineEdit> {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showValue();
    // Says so when a paste did not fit the field's size and was cut.
    void tellCutPaste(qsizetype room);

    QString inputText() const override { return text(); }
    void restoreTypedText(const QString &typed) override { setText(typed); }
    void keepRefusedInput() override;
    bool isInputReadOnly() const override { return isReadOnly(); }
    void pendingInputDropped() override { selectAll(); }
};

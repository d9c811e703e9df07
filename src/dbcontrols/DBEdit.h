#pragma once
#include "PendingTextBox.h"
#include <QLineEdit>

// A line edit bound to one field. Shows the display text, and the edit
// text while it has the focus. Typing starts editing the current row; the
// typed text is written into the field when the box loses the focus, on
// Enter, and in the record set's update step before post or a move. A text
// the field refuses is shown through the dialog seam and stays in the box,
// which keeps the focus. A paste longer than a text field's size is cut to
// it with a message, by key or by the context menu. The number pad's
// decimal key gives the program's decimal comma in a number with a fraction,
// whatever the keyboard layout sends.
class TDBEdit : public TPendingTextBox<QLineEdit> {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void showValue();
    // Room for a paste: the free length plus what the paste replaces.
    qsizetype roomForPaste() const;
    // Says so when a paste did not fit the field's size and was cut.
    void tellCutPaste(qsizetype room);
    bool takesFraction() const;

    QString inputText() const override { return text(); }
    void restoreTypedText(const QString &typed) override { setText(typed); }
    void keepRefusedInput() override;
    bool isInputReadOnly() const override { return isReadOnly(); }
    void pendingInputDropped() override { selectAll(); }
};

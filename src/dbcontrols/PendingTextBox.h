#pragma once
#include "PendingTextInput.h"
#include <QWidget>

// A Qt text box (Box) with the pending-input rules of TPendingTextInput:
// routes the box's key and focus events to them.
template <class Box> class TPendingTextBox : public Box, public TPendingTextInput {
public:
    explicit TPendingTextBox(QWidget *parent, Lines lines = Lines::Single) : Box(parent), TPendingTextInput(lines) {}
    // The Qt box may still report text changes while it is torn down, when
    // the pending-input part is gone already.
    ~TPendingTextBox() override { Box::blockSignals(true); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!takesKey(event))
            Box::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent *event) override
    {
        inputFocused();
        Box::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        Box::focusOutEvent(event);
        inputLeft(event);
    }
};

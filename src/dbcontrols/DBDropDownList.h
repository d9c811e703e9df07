#pragma once
#include "FieldPickBox.h"

// A non-editable combo box whose items are the texts stored in the field;
// the owner fills the list. Picking an item starts editing the current row
// and writes the item's text at once. A value that is not in the list
// shows no item.
class TDBDropDownList : public TFieldPickBox {
    Q_OBJECT
public:
    explicit TDBDropDownList(QWidget *parent = nullptr);

    // Shows the item of the field's value again (after the owner refilled
    // the list).
    void showValue();

private:
    bool writeItem(int index) override;
};

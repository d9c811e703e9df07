#pragma once
#include "FieldControl.h"
#include <QComboBox>

// A non-editable combo box bound to a field: picking an item starts
// editing the current row and writes the item at once. Where nothing may
// change (read-only box, record set or field), the list does not open and
// keys that pick items are refused.
class TFieldPickBox : public QComboBox, public TFieldControl {
    Q_OBJECT
public:
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    void showPopup() override;

protected:
    explicit TFieldPickBox(QWidget *parent);

    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // Writes the picked item into the field; false when it did not get there.
    virtual bool writeItem(int index) = 0;

    bool mayPick() const { return !m_readOnly && m_link.canModify(); }

    bool m_readOnly = false;
};

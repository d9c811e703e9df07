#pragma once
#include "PendingTextBox.h"
#include <QComboBox>

// An editable combo box bound to a text field; the owner fills the list.
// Typed text is pending like in TDBEdit (written on focus loss, Enter and
// the record set's update step); an item picked from the list is written
// at once.
class TDBComboBox : public TPendingTextBox<QComboBox> {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget *parent = nullptr);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void showValue();
    void itemPicked(int index);

    QString inputText() const override { return currentText(); }
    void restoreTypedText(const QString &typed) override { setEditText(typed); }
    void keepRefusedInput() override;
    bool isInputReadOnly() const override { return m_readOnly; }

    bool m_readOnly = false;
};

#pragma once
#include "FieldDataLink.h"
#include <QComboBox>

class TDataSource;
class TField;

// An editable combo box bound to a text field; the owner fills the list.
// Typed text is pending like in TDBEdit (written on focus loss, Enter and
// the record set's update step); an item picked from the list is written
// at once.
class TDBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget *parent = nullptr);

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    bool hasPendingInput() const { return m_link.modified(); }

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void showValue();
    void userEdited();
    void itemPicked(int index);
    bool writePending(bool abortWhenRefused);

    TFieldDataLink m_link;
    bool m_readOnly = false;
};

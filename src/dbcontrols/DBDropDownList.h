#pragma once
#include "FieldDataLink.h"
#include <QComboBox>

class TDataSource;
class TField;

// A non-editable combo box whose items are the texts stored in the field;
// the owner fills the list. Picking an item starts editing the current row
// and writes the item's text at once. A value that is not in the list
// shows no item.
class TDBDropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit TDBDropDownList(QWidget *parent = nullptr);

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // Shows the item of the field's value again (after the owner refilled
    // the list).
    void showValue();
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void itemPicked(int index);

    TFieldDataLink m_link;
    bool m_readOnly = false;
};

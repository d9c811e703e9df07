#pragma once
#include "FieldDataLink.h"
#include <QComboBox>
#include <memory>
#include <vector>

class TDataSource;
class TField;

// A non-editable combo box listing the rows of another record set (the
// list source): it shows each row's listField and stores its keyField in
// the bound data field. It shows the row whose key equals the field's value,
// or no item when none does.
class TDBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget *parent = nullptr);
    ~TDBLookupComboBox() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    TDataSource *listSource() const;
    void setListSource(TDataSource *source);
    QString keyField() const { return m_keyField; }
    void setKeyField(const QString &name);
    QString listField() const { return m_listField; }
    void setListField(const QString &name);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // The key of the item shown, null when none.
    TValue currentKey() const;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    class ListLink;
    void fillList();
    void showValue();
    void itemPicked(int index);

    TFieldDataLink m_link;
    std::unique_ptr<ListLink> m_listLink;
    QString m_keyField;
    QString m_listField;
    std::vector<TValue> m_keys; // key of each item
    bool m_readOnly = false;
};

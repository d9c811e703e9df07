#pragma once
#include "FieldPickBox.h"
#include <memory>
#include <vector>

// A non-editable combo box listing the rows of another record set (the
// list source): it shows each row's listField and stores its keyField in
// the bound data field. It shows the row whose key equals the field's value,
// or no item when none does.
class TDBLookupComboBox : public TFieldPickBox {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget *parent = nullptr);
    ~TDBLookupComboBox() override;

    TDataSource *listSource() const;
    void setListSource(TDataSource *source);
    QString keyField() const { return m_keyField; }
    void setKeyField(const QString &name);
    QString listField() const { return m_listField; }
    void setListField(const QString &name);

    // The key of the item shown, null when none.
    TValue currentKey() const;

private:
    class ListLink;
    void fillList();
    void showValue();
    bool writeItem(int index) override;

    std::unique_ptr<ListLink> m_listLink;
    QString m_keyField;
    QString m_listField;
    std::vector<TValue> m_keys; // key of each item
};

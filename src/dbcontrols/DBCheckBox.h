#pragma once
#include "FieldDataLink.h"
#include <QCheckBox>

class TDataSource;
class TField;

// A three-state check box bound to a boolean field: true ticked, false
// unticked, null partially checked. A click starts editing the current row
// and writes the value at once: unticked or partial becomes ticked, ticked
// becomes unticked.
class TDBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget *parent = nullptr);
    explicit TDBCheckBox(const QString &text, QWidget *parent = nullptr);

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

protected:
    void nextCheckState() override;

private:
    void showValue();

    TFieldDataLink m_link;
    bool m_readOnly = false;
};

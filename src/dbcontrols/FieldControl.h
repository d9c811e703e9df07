#pragma once
#include "FieldDataLink.h"

class TDataSource;
class TField;

// What every control bound to one field has: the link to the field and the
// accessors that bind it. A base beside the Qt widget class rather than a
// widget itself, so each control keeps the Qt base it needs.
class TFieldControl {
public:
    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

protected:
    TFieldControl() = default;
    ~TFieldControl() = default;

    TFieldDataLink m_link;
};

#pragma once
#include "FieldDataLink.h"
#include <QLabel>

class TDataSource;
class TField;

// A label showing the display text of one field of the current row, as
// plain text.
class TDBText : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget *parent = nullptr);

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

private:
    void showValue();

    TFieldDataLink m_link;
};

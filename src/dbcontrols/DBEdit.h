#pragma once
#include "FieldDataLink.h"
#include <QLineEdit>

class TDataSource;
class TField;

// A line edit bound to one field. Shows the display text, and the edit
// text while it has the focus. Typing starts editing the current row; the
// typed text is written into the field when the box loses the focus, on
// Enter, and in the record set's update step before post or a move. A text
// the field refuses is shown through the dialog seam and stays in the box,
// which keeps the focus.
class TDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    // Typed text not yet written into the field.
    bool hasPendingInput() const { return m_link.modified(); }
    // Writes pending input now; false when it was refused or reverted.
    bool writePendingInput() { return writePending(false); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showValue();
    void userEdited();
    bool writePending(bool abortWhenRefused);

    TFieldDataLink m_link;
};

#pragma once
#include "FieldDataLink.h"
#include <QPlainTextEdit>

class TDataSource;
class TField;

// A text box of several lines bound to a memo (or text) field. Typing
// starts editing the current row; the text is written into the field when
// the box loses the focus and in the record set's update step before post
// or a move. Tab moves the focus on.
class TDBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    QString dataField() const { return m_link.fieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name); }
    TField *field() const { return m_link.field(); }

    bool hasPendingInput() const { return m_link.modified(); }
    bool writePendingInput() { return writePending(false); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showValue();
    void userEdited();
    bool writePending(bool abortWhenRefused);

    TFieldDataLink m_link;
    bool m_loading = false;
};

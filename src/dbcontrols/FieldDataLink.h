#pragma once
#include "DataSet.h" // DataSource.h needs the complete record set type
#include "Value.h"
#include <QString>
#include <functional>

class TField;

// The link of a control bound to one field of a record set. It finds the
// field by name, keeps the control's "pending input" flag, starts editing
// on the control's behalf and writes the control's input into the field,
// showing a refused text through the dialog seam.
//
// The control plugs in three handlers: show the field's value, note a
// change of the editing state, write pending input (called from the record
// set's update step before post, before a move and from updateRecord()).
class TFieldDataLink : public TDataLink {
public:
    enum class WriteResult {
        Written,  // the field holds the new value
        Refused,  // the text was refused with a message; the input stays pending
        Reverted, // a rule refused the value (EAbort); the field kept its old value
    };

    std::function<void()> onDataChange;
    std::function<void()> onEditingChange;
    std::function<void()> onUpdateData;

    QString fieldName() const { return m_fieldName; }
    void setFieldName(const QString &name);
    // The bound field while the record set is open, else null.
    TField *field() const;

    // The field can take input: the record set is open and changeable and
    // the field is a writable data field.
    bool canModify() const;
    // Starts editing the current row. Refusals are silent (EAbort) or shown
    // (EDatabaseError); the result says whether input may go on.
    bool startEdit();

    bool modified() const { return m_modified; }
    void setModified() { m_modified = true; }
    // Drops pending input and shows the field's value again.
    void reset();
    // Shows the field's value again; unlike reset() it leaves the pending
    // flag alone (for boxes whose text depends on the focus).
    void showValue();

    // Writes typed text (read in the user's locale) or a value into the
    // field, starting the edit first when needed.
    WriteResult writeText(const QString &text);
    WriteResult writeValue(const TValue &value);

protected:
    void activeChanged() override;
    void dataSetChanged() override;
    void dataSetScrolled() override;
    void recordChanged(TField *field) override;
    void editingChanged() override;
    void updateData() override;

private:
    template <typename Write> WriteResult write(Write &&assign);

    QString m_fieldName;
    bool m_modified = false;
    bool m_writing = false;
};

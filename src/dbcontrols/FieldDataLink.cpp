#include "FieldDataLink.h"
#include "DataSet.h"
#include "DbError.h"
#include "Dialogs.h"
#include <QScopedValueRollback>

void TFieldDataLink::setFieldName(const QString &name)
{
    if (m_fieldName == name)
        return;
    m_fieldName = name;
    reset();
}

TField *TFieldDataLink::field() const
{
    TDataSet *set = dataSet();
    if (!set || !set->active() || m_fieldName.isEmpty())
        return nullptr;
    return set->findField(m_fieldName);
}

bool TFieldDataLink::canModify() const
{
    const TField *f = field();
    return f && !f->readOnly && f->kind() == TFieldKind::Data && dataSet()->canModify();
}

bool TFieldDataLink::startEdit()
{
    if (!canModify())
        return false;
    try {
        return edit();
    } catch (const EAbort &) {
        return false;
    } catch (const EDatabaseError &e) {
        dialogs().message(e.message(), IDialogs::Icon::Error);
        return false;
    }
}

void TFieldDataLink::reset()
{
    m_modified = false;
    showValue();
}

template <typename Write> TFieldDataLink::WriteResult TFieldDataLink::write(Write &&assign)
{
    WriteResult result = WriteResult::Written;
    {
        // The record set's change events would show the field's value while
        // the input is still being written; it is shown once at the end.
        QScopedValueRollback<bool> guard(m_writing, true);
        TField *f = field();
        if (!f || !startEdit()) {
            result = WriteResult::Reverted;
        } else {
            try {
                assign(*f);
            } catch (const EAbort &) {
                result = WriteResult::Reverted;
            } catch (const EDatabaseError &e) {
                dialogs().message(e.message(), IDialogs::Icon::Error);
                return WriteResult::Refused;
            }
        }
    }
    reset();
    return result;
}

TFieldDataLink::WriteResult TFieldDataLink::writeText(const QString &text)
{
    // Taking the value the row already holds starts no edit.
    if (const TField *f = field(); f && !editing() && (f->editText() == text || f->displayText() == text)) {
        reset();
        return WriteResult::Written;
    }
    return write([&text](TField &f) { f.setEditText(text); });
}

TFieldDataLink::WriteResult TFieldDataLink::writeValue(const TValue &value)
{
    if (const TField *f = field(); f && !editing() && f->value() == value) {
        reset();
        return WriteResult::Written;
    }
    return write([&value](TField &f) { f.setValue(value); });
}

void TFieldDataLink::showValue()
{
    if (onDataChange)
        onDataChange();
}

void TFieldDataLink::activeChanged() { reset(); }
void TFieldDataLink::dataSetChanged() { reset(); }
void TFieldDataLink::dataSetScrolled() { reset(); }

void TFieldDataLink::recordChanged(TField *changed)
{
    if (m_writing)
        return;
    if (!changed || changed == field())
        reset();
}

void TFieldDataLink::editingChanged()
{
    // Leaving the edit (post or cancel) ends any pending input; starting
    // it leaves the control's input alone.
    if (!editing())
        m_modified = false;
    if (!m_writing)
        showValue();
    if (onEditingChange)
        onEditingChange();
}

void TFieldDataLink::updateData()
{
    if (m_modified && onUpdateData)
        onUpdateData();
}

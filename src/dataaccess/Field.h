#pragma once
#include "Value.h"
#include <QLocale>
#include <QString>
#include <functional>

class TDataSet;

enum class TFieldType { Integer, Boolean, String, Decimal, Float, DateTime, Memo };
enum class TFieldKind { Data, Calculated, Lookup };

// One field of a record set: its value in the current row, its text forms
// and its settings. Created and owned by its record set.
class TField {
public:
    TField(TDataSet *dataSet, const QString &name, TFieldType type, int size, TFieldKind kind);

    TDataSet *dataSet() const { return m_dataSet; }
    QString fieldName() const { return m_name; }
    TFieldType dataType() const { return m_type; }
    TFieldKind kind() const { return m_kind; }
    bool isCalculated() const { return m_kind != TFieldKind::Data; }
    int index() const { return m_index; } // position in the record set's field list
    int size() const { return m_size; }   // characters of a text field
    int scale() const { return m_scale; } // places of a decimal field

    // Settings.
    QString displayLabel;   // column title; the field name when empty
    int displayWidth = 0;   // characters
    bool visible = true;
    bool readOnly = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString displayFormat;  // "#,##0.00", "dd.mm.yyyy hh:mm"
    QString editFormat;     // "0.0000"
    QString displayValues;  // "Ja;Nein": texts for true and false
    QString defaultExpression; // applied to a new row: "0,3000", "True", "Fehler", "current_timestamp"
    bool emptyAsNull = true;   // an emptied text is stored as null
    // Lookup: the row of lookupDataSet whose lookupKeyField equals this
    // record's keyField gives lookupResultField.
    TDataSet *lookupDataSet = nullptr;
    QString keyField, lookupKeyField, lookupResultField;

    // Runs after the value changed; an exception (EAbort for a silent
    // refusal) puts the old value back and travels on.
    std::function<void(TField &)> onChange;

    QString label() const { return displayLabel.isEmpty() ? m_name : displayLabel; }

    // The value in the current row.
    const TValue &value() const;
    bool isNull() const;
    qint64 asInteger() const;
    bool asBoolean() const;
    TDecimal asDecimal() const;
    double asFloat() const;
    QDateTime asDateTime() const;
    QString asString() const; // plain text: digits with '.', ISO dates
    QString displayText() const;
    QString editText() const;
    TValue oldValue() const; // as the row was before editing began

    void setValue(const TValue &value);
    void setAsInteger(qint64 value) { setValue(value); }
    void setAsBoolean(bool value) { setValue(static_cast<qint64>(value ? 1 : 0)); }
    void setAsDecimal(const TDecimal &value) { setValue(value); }
    void setAsFloat(double value) { setValue(value); }
    void setAsDateTime(const QDateTime &value);
    void setAsString(const QString &value);
    void clear() { setValue(std::monostate()); }
    // Text typed by the user, read in the user's locale. A text that does not
    // fit the field's type is refused with a German message.
    void setEditText(const QString &text);
    // Whether a typed text would be accepted, without changing anything.
    bool isValidText(const QString &text, QString *message = nullptr) const;

    // Text forms of any value of this field (used by grids for other rows).
    QString displayTextOf(const TValue &value) const;
    QString editTextOf(const TValue &value) const;
    QString plainTextOf(const TValue &value) const;

    // Brings a value to this field's type: decimals to the field's scale,
    // booleans to 0/1, texts cut to the size. Throws on a mismatch.
    TValue normalized(const TValue &value) const;
    TValue parseText(const QString &text) const; // throws EDatabaseError

private:
    friend class TDataSet;
    TDataSet *m_dataSet;
    QString m_name;
    TFieldType m_type;
    TFieldKind m_kind;
    int m_size = 0;
    int m_scale = 0;
    int m_index = -1;
};

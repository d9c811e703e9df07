#pragma once
// The fields a row of a record set cannot be stored without: the columns the
// schema holds NOT NULL without a default, which the program does not fill
// itself. A post that leaves one of them empty (or blank) is refused before
// the statement reaches the database: a beep, "„<label>“ muss ausgefüllt
// sein.", and the row stays in editing with everything typed. The window
// that edits the record set hears which field it was and puts the focus there.
#include <QObject>
#include <QStringList>
#include <functional>

class TDataSet;
class TField;

class RequiredFields : public QObject {
    Q_OBJECT
public:
    // Declares the fields, in the order a window shows them, and puts the
    // check in front of the record set's before-post rule (declare last).
    static void declare(TDataSet &dataSet, const QStringList &fieldNames);
    // The declaration of a record set; null when it has none.
    static RequiredFields *of(const TDataSet &dataSet);

    const QStringList &fieldNames() const { return m_names; }
    // The first declared field the current row leaves empty; null when none.
    TField *firstMissing() const;
    // Called with the empty field right before the refusal.
    std::function<void(TField &)> onMissing;

private:
    RequiredFields(TDataSet &dataSet, const QStringList &fieldNames);
    void check();

    TDataSet &m_dataSet;
    QStringList m_names;
};

// The refusal's text for an empty required field.
QString missingFieldMessage(const TField &field);

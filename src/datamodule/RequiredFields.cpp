#include "RequiredFields.h"
#include "DataSet.h"
#include "RuleRefusal.h"

RequiredFields::RequiredFields(TDataSet &dataSet, const QStringList &fieldNames)
    : QObject(&dataSet), m_dataSet(dataSet), m_names(fieldNames)
{
}

void RequiredFields::declare(TDataSet &dataSet, const QStringList &fieldNames)
{
    if (RequiredFields *declared = of(dataSet)) {
        declared->m_names = fieldNames;
        return;
    }
    auto *required = new RequiredFields(dataSet, fieldNames);
    // The check comes first: a rule after it may rely on the fields.
    dataSet.beforePost = [required, rule = dataSet.beforePost](TDataSet &d) {
        required->check();
        if (rule)
            rule(d);
    };
}

RequiredFields *RequiredFields::of(const TDataSet &dataSet)
{
    return dataSet.findChild<RequiredFields *>(QString(), Qt::FindDirectChildrenOnly);
}

TField *RequiredFields::firstMissing() const
{
    for (const QString &name : m_names) {
        TField *field = m_dataSet.fieldByName(name);
        if (field->isNull() || field->asString().trimmed().isEmpty())
            return field;
    }
    return nullptr;
}

void RequiredFields::check()
{
    TField *missing = firstMissing();
    if (!missing)
        return;
    if (onMissing)
        onMissing(*missing);
    refuse(missingFieldMessage(*missing));
}

QString missingFieldMessage(const TField &field) { return QStringLiteral("„%1“ muss ausgefüllt sein.").arg(field.label()); }

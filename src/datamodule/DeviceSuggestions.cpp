#include "DeviceSuggestions.h"
#include "DatabaseFiles.h"
#include "DeviceTexts.h"
#include "SchemaObjects.h"
#include <algorithm>

namespace {

QStringList &readOnce(std::optional<QStringList> &list, TDatabase &database, const QString &column)
{
    if (list)
        return *list;
    // A file whose upgrade is left to the server's owner has no table of
    // texts yet: then every device is read.
    if (schemaObjectExists(database, SchemaObject::Table, kDeviceTextsTable))
        list = firstColumn(database, deviceTextsSql(column));
    else
        list = firstColumn(database, QStringLiteral("SELECT DISTINCT %1 FROM PRUEFLINGE WHERE %1 <> '' ORDER BY %1").arg(column));
    return *list;
}

// In the order the statement sorts them: by the characters' codes.
void addSorted(std::optional<QStringList> &list, const QString &value)
{
    if (!list || value.trimmed().isEmpty())
        return;
    const auto at = std::lower_bound(list->begin(), list->end(), value);
    if (at == list->end() || *at != value)
        list->insert(at, value);
}

} // namespace

QStringList DeviceSuggestions::names(TDatabase &database)
{
    return readOnce(m_names, database, QStringLiteral("BEZEICHNUNG"));
}

QStringList DeviceSuggestions::places(TDatabase &database)
{
    return readOnce(m_places, database, QStringLiteral("ORT"));
}

void DeviceSuggestions::deviceSaved(const QString &name, const QString &place)
{
    addSorted(m_names, name);
    addSorted(m_places, place);
}

void DeviceSuggestions::forget()
{
    m_names.reset();
    m_places.reset();
}

DeviceSuggestions &deviceSuggestions()
{
    static DeviceSuggestions suggestions;
    return suggestions;
}

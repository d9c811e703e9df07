#include "DeviceSuggestions.h"
#include "DatabaseFiles.h"
#include <algorithm>

namespace {

QStringList &readOnce(std::optional<QStringList> &list, TDatabase &database, const QString &sql)
{
    if (!list)
        list = firstColumn(database, sql);
    return *list;
}

// In the order the statement sorts them: by the characters' codes.
void addSorted(std::optional<QStringList> &list, const QString &value)
{
    if (!list)
        return;
    const auto at = std::lower_bound(list->begin(), list->end(), value);
    if (at == list->end() || *at != value)
        list->insert(at, value);
}

} // namespace

QStringList DeviceSuggestions::names(TDatabase &database)
{
    return readOnce(m_names, database, QStringLiteral("SELECT DISTINCT BEZEICHNUNG FROM PRUEFLINGE ORDER BY BEZEICHNUNG"));
}

QStringList DeviceSuggestions::places(TDatabase &database)
{
    return readOnce(m_places, database, QStringLiteral("SELECT DISTINCT ORT FROM PRUEFLINGE ORDER BY ORT"));
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

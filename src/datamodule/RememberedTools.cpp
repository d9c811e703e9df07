#include "RememberedTools.h"
#include "Database.h"
#include "Query.h"
#include "USettings.h"

std::optional<int> RememberedTools::inspector(int usedInThisRun) const
{
    return firstExisting("PRUEFER", usedInThisRun, m_settings.LastPrueferId());
}

std::optional<int> RememberedTools::instrument(int usedInThisRun) const
{
    return firstExisting("PRUEFGERAETE", usedInThisRun, m_settings.LastPruefgeraetId());
}

void RememberedTools::remember(int inspector, int instrument)
{
    m_settings.setLastPrueferId(inspector);
    m_settings.setLastPruefgeraetId(instrument);
    m_settings.setLastToolsDatabase(m_database.databaseName());
}

std::optional<int> RememberedTools::firstExisting(const char *table, int usedInThisRun, int rememberedId) const
{
    if (m_settings.LastToolsDatabase() != m_database.databaseName())
        rememberedId = -1;
    for (const int id : {usedInThisRun, rememberedId}) {
        if (id < 0)
            continue;
        TQuery q(&m_database);
        q.setSql(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ID = :ID").arg(QLatin1String(table)));
        q.paramByName(QStringLiteral("ID")).setAsInteger(id);
        q.execQuery();
        const bool exists = q.asInteger(0) > 0;
        q.close();
        if (exists)
            return id;
    }
    return std::nullopt;
}

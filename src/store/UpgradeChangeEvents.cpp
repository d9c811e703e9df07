#include "UpgradeChangeEvents.h"
#include "Database.h"
#include "DbError.h"
#include "Query.h"
#include <ibase.h>

QStringList changeEventNames() { return {kEventKunden, kEventPrueflinge, kEventPruefungen}; }

namespace {

struct ChangeTrigger {
    const char *table;
    const QString &event;
};

bool triggerExists(TQuery &query, const QString &name)
{
    query.setSql(QStringLiteral("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME = :name"));
    query.paramByName(QStringLiteral("name")).setAsString(name);
    query.execQuery();
    const bool exists = query.asInteger(0) > 0;
    query.close();
    return exists;
}

} // namespace

void addChangeEventTriggers(TDatabase &database)
{
    static const ChangeTrigger triggers[] = {
        {"KUNDEN", kEventKunden}, {"PRUEFLINGE", kEventPrueflinge}, {"PRUEFUNGEN", kEventPruefungen}};
    TQuery query(&database);
    query.autoStartTransaction = true;
    query.autoCommit = true;
    for (const ChangeTrigger &t : triggers) {
        const QString table = QString::fromLatin1(t.table);
        const QString name = table + QStringLiteral("_GEAENDERT");
        if (triggerExists(query, name))
            continue;
        query.setSql(QStringLiteral("CREATE TRIGGER %1 FOR %2 AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS "
                                    "BEGIN POST_EVENT '%3'; END")
                         .arg(name, table, t.event));
        try {
            query.execQuery();
            query.close();
        } catch (const EDatabaseError &e) {
            query.close();
            if (e.hasEngineCode(isc_no_priv) || e.hasEngineCode(isc_dyn_no_priv))
                return;
            throw;
        }
    }
}

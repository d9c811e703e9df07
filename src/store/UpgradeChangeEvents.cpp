#include "UpgradeChangeEvents.h"
#include "Migration.h"
#include "UpgradeSteps.h"

QStringList changeEventNames() { return {kEventKunden, kEventPrueflinge, kEventPruefungen}; }

namespace {

struct ChangeTrigger {
    const char *table;
    const QString &event;
};

const ChangeTrigger kTriggers[] = {
    {"KUNDEN", kEventKunden}, {"PRUEFLINGE", kEventPrueflinge}, {"PRUEFUNGEN", kEventPruefungen}};

QString triggerName(const ChangeTrigger &t) { return QString::fromLatin1(t.table) + QStringLiteral("_GEAENDERT"); }

} // namespace

void addChangeEventTriggers(MigrationStep &step)
{
    for (const ChangeTrigger &t : kTriggers)
        step.add(SchemaObject::Trigger, triggerName(t),
                 QStringLiteral("CREATE TRIGGER %1 FOR %2 AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS "
                                "BEGIN POST_EVENT '%3'; END")
                     .arg(triggerName(t), QString::fromLatin1(t.table), t.event));
}

bool changeEventTriggersPresent(TDatabase &db)
{
    for (const ChangeTrigger &t : kTriggers)
        if (!schemaObjectExists(db, SchemaObject::Trigger, triggerName(t)))
            return false;
    return true;
}

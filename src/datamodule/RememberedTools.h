#pragma once
#include <optional>

class TDatabase;
class TSettings;

// The inspector and instrument a new inspection starts with: the ones used
// last in this run, else the ones this workstation remembers from earlier
// runs in the same database, as long as they still exist in it.
class RememberedTools {
public:
    RememberedTools(TDatabase &database, TSettings &settings) : m_database(database), m_settings(settings) {}
    std::optional<int> inspector(int usedInThisRun) const;
    std::optional<int> instrument(int usedInThisRun) const;
    void remember(int inspector, int instrument);

private:
    std::optional<int> firstExisting(const char *table, int usedInThisRun, int rememberedId) const;

    TDatabase &m_database;
    TSettings &m_settings;
};

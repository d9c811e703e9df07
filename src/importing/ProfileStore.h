#pragma once
// The import profiles kept in the database, by name.
#include "ImportProfile.h"
#include <QStringList>
#include <optional>

class TDatabase;

QStringList storedProfileNames(TDatabase &database);
// The profile of that name; none and the reason in *error when there is
// none or its stored text no longer reads.
std::optional<TImportProfile> loadProfile(TDatabase &database, const QString &name, QString *error);
// Stores a profile under its name, replacing one of the same name.
// Refuses an unusable profile with EDatabaseError.
void saveProfile(TDatabase &database, const TImportProfile &profile);
void deleteProfile(TDatabase &database, const QString &name);

#pragma once
#include <QString>

// Makes path the program's database: remembers it in the settings, opens it
// (the open reports its own failures) and fills the main window. True when
// the database is open afterwards.
bool switchToDatabase(const QString &path);

#pragma once
#include <QString>

class EDatabaseError;

// What a failed open shows: the program's first line, which names a program
// holding the file, and under it the actual cause when it is another one.
QString openFailureMessage(const QString &path, const EDatabaseError &error);

// The actual cause of a failed open in German ("Die Datei … gibt es
// nicht."); empty when another program holds the file.
QString openFailureCause(const QString &path, const EDatabaseError &error);

// The cause for a file that opened as a database but is damaged.
QString damagedDatabaseText(const QString &path);

inline const QString kDatabaseInUse = QStringLiteral("Es wird bereits von einem Programm auf die Datenbank zugegriffen...");
inline const QString kWrongDatabase = QStringLiteral("Falsche Datenbank...");

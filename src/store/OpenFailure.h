#pragma once
#include <QString>

class EDatabaseError;

// What a failed open shows: that another program holds the file only when
// one does; else the actual cause, and under a damaged file's cause the
// engine's own text.
QString openFailureMessage(const QString &path, const EDatabaseError &error);

// The actual cause of a failed open in German ("Die Datei … gibt es
// nicht."); empty when another program holds the file.
QString openFailureCause(const QString &path, const EDatabaseError &error);

// Why a file that is not one of this program's databases is refused,
// naming it.
QString foreignDatabaseText(const QString &path);

// The cause for a file that opened as a database but is damaged.
QString damagedDatabaseText(const QString &path);

inline const QString kDatabaseInUse = QStringLiteral("Es wird bereits von einem Programm auf die Datenbank zugegriffen...");
inline const QString kWrongDatabase = QStringLiteral("Falsche Datenbank...");

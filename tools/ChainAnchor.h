#pragma once
// An anchor of the chain of fingerprints: its newest entry (number and
// value) written down outside the database. Whoever recomputes the whole
// chain after changing an inspection leaves a consistent database, but no
// longer the anchored value at the anchored number.
#include <QDateTime>
#include <QString>
#include <optional>

class TDatabase;

struct ChainAnchor {
    QString database; // the file's name as it was given
    QDateTime created;
    qint64 entries = 0; // NR of the newest entry
    QString head;       // its WERT
};

// The newest entry of the chain, or none when the chain is missing or empty.
std::optional<ChainAnchor> anchorOfChain(TDatabase &db, const QString &name);

// "VELMORA-ANKER 1", then DATENBANK=, ERSTELLT= (ISO 8601), EINTRAEGE=,
// KOPF=, one line each.
QString anchorText(const ChainAnchor &anchor);
// The anchor a text holds, or none with why not in German.
std::optional<ChainAnchor> parseAnchor(const QString &text, QString *why);

// The anchor in a file, or none with why not in German.
std::optional<ChainAnchor> readAnchorFile(const QString &path, QString *why);

// Empty when the chain still holds the anchored value at the anchored
// number; else the finding in German, naming what differs.
QString anchorMismatch(TDatabase &db, const ChainAnchor &anchor);

// The value in groups of 8 hex digits, for reading aloud and comparing on paper.
QString groupedValue(const QString &value);

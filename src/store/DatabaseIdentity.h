#pragma once
// Every database file has an identity of its own: 128 random bits, made by
// the upgrade step that introduced it and kept in two places. The one-row
// table DATENBANK_KENNUNG holds it readable; an entry of the chain of
// fingerprints (ART=identitaet, DATENBANK=...) hashes it in, so that two
// files with the same history still have different chains and the readable
// copy cannot be swapped without the check noticing.
#include <QString>
#include <optional>

class TDatabase;

// The number of the schema step that gives a file its identity: from it on,
// a file without one is a finding.
constexpr int kDatabaseIdentityStep = 14;

// 32 lowercase hex digits from the system's random source.
QString newDatabaseIdentity();
// The readable identity; none for a file without the table or its row.
std::optional<QString> storedDatabaseIdentity(TDatabase &db);
// The first 8 hex digits, as printed on a protocol ("Datenbank 3f9a12c0").
QString shortDatabaseIdentity(const QString &identity);

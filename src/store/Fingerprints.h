#pragma once
// Fingerprints of inspections: a SHA-256 over a fixed canonical text of an
// inspection and over the fingerprint before it, so that the fingerprints of
// one database form one chain (table FINGERABDRUECKE, in the order of NR).
// The canonical text is documented in the README so that anyone can
// recompute it; its column list is frozen, also when measurements are added.
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class TDatabase;
class TQuery;

// Why an entry was written; the text goes into the canonical text (ART=).
enum class FingerprintKind {
    Recorded,   // "erfasst": posted new or changed before its protocol was handed over
    AddedLater, // "nachgetragen": stored before fingerprints existed
    Corrected,  // "korrigiert": changed after its protocol was printed or saved
    Deleted,    // "geloescht": deleted through the program
    Identity,   // "identitaet": the database's own identity, of no inspection
};

QString fingerprintKindText(FingerprintKind kind);
// The kind an ART= text names; none for a text no entry is written with.
std::optional<FingerprintKind> fingerprintKindFromText(const QString &text);

struct TFingerprintEntry {
    int nr = 0;         // place in the chain, from 1
    int pruefungId = 0;
    QString kind;       // fingerprintKindText
    int version = 0;
    QDateTime created;
    QString content;    // the canonical text that was hashed
    QString value;      // SHA-256 of content, 64 lowercase hex digits
};

// The canonical text of a stored inspection as it is now, without its last
// line (VORHER=); empty when the inspection does not exist.
QString canonicalInspectionBody(TDatabase &db, int pruefungId, FingerprintKind kind);
// Every stored inspection once, in the order of its key, with what its
// canonical text needs: one statement, read row by row, so that checking a
// whole database costs one pass and no more memory than one row.
class TInspectionBodies {
public:
    explicit TInspectionBodies(TDatabase &db);
    ~TInspectionBodies();
    TInspectionBodies(const TInspectionBodies &) = delete;
    TInspectionBodies &operator=(const TInspectionBodies &) = delete;

    // Moves to the next inspection, the first at the first call; false
    // after the last.
    bool next();
    int pruefungId() const;
    // As canonicalInspectionBody for the current inspection.
    QString body(FingerprintKind kind) const;

private:
    std::unique_ptr<TQuery> m_query;
    bool m_started = false;
};
// The text of a deleted inspection's entry, without its last line.
QString canonicalDeletionBody(int pruefungId);
// The text of the entry that hashes the database's identity into the chain,
// without its last line.
QString canonicalIdentityBody(const QString &identity);
// SHA-256 of the text's UTF-8 bytes, lowercase hex.
QString sha256Hex(const QString &text);

// Fingerprints an inspection by key and appends it to the chain, in the
// current transaction of db (committed with whatever the caller commits).
// Returns the new fingerprint. For an inspection that does not exist,
// throws EDatabaseError.
QString fingerprintInspection(TDatabase &db, int pruefungId, FingerprintKind kind = FingerprintKind::Recorded);
// Appends the entry that says an inspection was deleted through the program.
QString fingerprintDeletion(TDatabase &db, int pruefungId);
// Appends the entry that names the database's identity (PRUEFUNG_ID 0).
QString fingerprintDatabaseIdentity(TDatabase &db, const QString &identity);

// The newest entry of an inspection, and the entry with a given value.
std::optional<TFingerprintEntry> latestFingerprint(TDatabase &db, int pruefungId);
std::optional<TFingerprintEntry> fingerprintByValue(TDatabase &db, const QString &value);
// The first 16 hex digits in groups of four ("3f2a 9c81 0b7e 44d1").
QString shortFingerprint(const QString &value);
// The canonical text without its ART= and VORHER= lines: what was recorded.
QString recordedData(const QString &content);

// The statement that reads the chain's newest entry (NR, WERT); a
// descending index on NR lets the engine read just that one row.
QString fingerprintChainHeadSql();

// Every inspection without an entry gets one marked as added later, in the
// order of their dates, in the current transaction; commitChunk runs after
// every chunkRows of them. Used once, when the chain is created.
int fingerprintUnmarkedInspections(TDatabase &db, int chunkRows, const std::function<void(int rowsDone)> &commitChunk);

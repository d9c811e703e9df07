#pragma once
// Recomputes the chain of fingerprints of a database and compares every
// inspection with its newest fingerprint.
#include "LongWork.h"
#include <QList>
#include <QString>

class TDatabase;

struct TFingerprintFinding {
    enum class Kind {
        Changed,         // stored data no longer matches its fingerprint
        Unfingerprinted, // an inspection without a fingerprint
        Missing,         // fingerprinted, gone without a deletion entry
        Gap,             // entries of the chain are missing
        Broken,          // an entry altered, or not linked to the one before
        Identity,        // the database's identity missing, or not the one its chain names
    };
    Kind kind;
    int pruefungId = 0; // 0 for the chain's own findings
    QString text;       // German, one line
};

struct TFingerprintReport {
    int entries = 0;
    int inspections = 0;
    int addedLater = 0; // inspections whose first fingerprint was added later
    int corrected = 0;  // inspections corrected after their protocol
    QList<TFingerprintFinding> findings;

    bool sound() const { return findings.isEmpty(); }
    // The result in German: a summary line, then one line per finding.
    QString text() const;
};

// Reports every thousand fingerprinted inspections compared to progress.
TFingerprintReport verifyFingerprints(TDatabase &db, const Progress &progress = {});

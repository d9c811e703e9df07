#include "FingerprintCheck.h"
#include "Database.h"
#include "DatabaseIdentity.h"
#include "Fingerprints.h"
#include "Query.h"
#include "SchemaObjects.h"
#include "SchemaVersion.h"
#include "Sha256.h"
#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

using Kind = TFingerprintFinding::Kind;
using Digest = Sha256::Digest;

// The value of a line "NAME=value" of a canonical text; the fields come in a
// fixed order and a text value cannot hold a line break, so the first match
// is the field.
QString fieldOf(const QString &content, QStringView name)
{
    const QString key = QStringLiteral("\n") + name.toString() + u'=';
    const qsizetype at = content.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype from = at + key.size();
    const qsizetype end = content.indexOf(u'\n', from);
    return content.mid(from, end < 0 ? -1 : end - from);
}

// What the check keeps of an entry: its meaning, read from the hashed text
// only, and a digest of what it recorded, so that memory stays small however
// long the chain is.
struct EntryDigest {
    int nr = 0;
    int pruefungId = 0;
    std::optional<FingerprintKind> kind;
    bool tailCanonical = false; // ends in "VORHER=\n" or "VORHER=<64 hex digits>\n"
    bool addedLater = false;    // this or an earlier entry of the inspection
    Digest content{};           // SHA-256 of the whole text
    Digest previous{};          // the value its VORHER= line names, when tailCanonical
    bool first = false;         // its VORHER= line is empty
};

QString previousOf(const QString &content)
{
    const qsizetype at = content.lastIndexOf(QStringLiteral("VORHER="));
    return at < 0 ? QString() : content.mid(at + 7).trimmed();
}

bool isValueText(const QString &text)
{
    return text.size() == 64 &&
           std::all_of(text.cbegin(), text.cend(), [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); });
}

// previous is the value the text's VORHER= line names (previousOf).
EntryDigest digestOf(const QString &content, const QString &previous, const Digest &contentHash, int columnPruefungId)
{
    EntryDigest e;
    bool numeric = false;
    const int id = fieldOf(content, u"PRUEFUNG").toInt(&numeric);
    e.kind = fingerprintKindFromText(fieldOf(content, u"ART"));
    // The identity belongs to no inspection, whatever its column says.
    e.pruefungId = e.kind == FingerprintKind::Identity ? 0 : numeric ? id : columnPruefungId;
    e.addedLater = e.kind == FingerprintKind::AddedLater;
    e.content = contentHash;
    e.first = previous.isEmpty();
    e.tailCanonical = content.endsWith(QStringLiteral("\nVORHER=") + previous + u'\n') && (e.first || isValueText(previous));
    if (e.tailCanonical && !e.first) {
        const QByteArray raw = QByteArray::fromHex(previous.toLatin1());
        std::copy(raw.cbegin(), raw.cend(), e.previous.begin());
    }
    return e;
}

QString hexOf(const Digest &d) { return QString::fromLatin1(Sha256::hex(d)); }

// The columns of an entry (PRUEFUNG_ID, ART, VERSION of a query row) are
// only copies of its hashed text for lookups; they must agree with it.
bool columnsMatch(const TQuery &row, const EntryDigest &entry, const QString &content)
{
    // A deletion and the identity record the version of no data.
    const bool versionless = entry.kind == FingerprintKind::Deleted || entry.kind == FingerprintKind::Identity;
    return row.asInteger(1) == entry.pruefungId && row.asString(2) == fieldOf(content, u"ART") &&
           (versionless || QString::number(row.asInteger(3)) == fieldOf(content, u"VERSION"));
}

qint64 chainLength(TDatabase &db)
{
    TQuery head(&db);
    head.setSql(fingerprintChainHeadSql());
    head.execQuery();
    return head.eof() ? 0 : head.asInteger(0);
}

// An entry that names the database's identity.
struct ChainIdentity {
    int nr = 0;
    QString identity;
};

// Walks the chain once in its order: every entry must hash to its value,
// name the value before it, follow its number without a gap, and its
// columns must say what its hashed text says. Returns a digest per entry
// of an inspection; the identity entries go to identities.
std::vector<EntryDigest> checkChain(TDatabase &db, TFingerprintReport &result, const Progress &progress,
                                    std::vector<ChainIdentity> &identities)
{
    const qint64 total = chainLength(db);
    std::vector<EntryDigest> entries;
    entries.reserve(static_cast<size_t>(std::clamp<qint64>(total, 0, 4'000'000))); // a forged head cannot claim memory
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT NR, PRUEFUNG_ID, ART, VERSION, INHALT, WERT FROM FINGERABDRUECKE ORDER BY NR"));
    int expectedNr = 1;
    QString previous;
    for (q.execQuery(); !q.eof(); q.next()) {
        const int nr = static_cast<int>(q.asInteger(0));
        const QString content = q.asString(4);
        const QString value = q.asString(5).trimmed();
        const QString named = previousOf(content);
        const Digest hash = sha256OfUtf8(content);
        EntryDigest entry = digestOf(content, named, hash, static_cast<int>(q.asInteger(1)));
        entry.nr = nr;
        const int id = entry.pruefungId;
        ++result.entries;
        if (nr != expectedNr)
            result.findings << TFingerprintFinding{
                Kind::Gap, 0,
                nr == expectedNr + 1 ? QStringLiteral("Lücke in der Kette: Eintrag %1 fehlt.").arg(expectedNr)
                                     : QStringLiteral("Lücke in der Kette: Einträge %1 bis %2 fehlen.").arg(expectedNr).arg(nr - 1)};
        if (hexOf(hash) != value) {
            result.findings << TFingerprintFinding{
                Kind::Broken, id,
                QStringLiteral("Eintrag %1 (Prüfung %2) wurde verändert: sein Fingerabdruck passt nicht zu seinem Inhalt.")
                    .arg(nr)
                    .arg(id)};
        } else {
            if (named != previous)
                result.findings << TFingerprintFinding{
                    Kind::Broken, id,
                    QStringLiteral("Die Kette ist vor Eintrag %1 (Prüfung %2) unterbrochen: der vorige Fingerabdruck "
                                   "fehlt oder wurde verändert.")
                        .arg(nr)
                        .arg(id)};
            if (!columnsMatch(q, entry, content))
                result.findings << TFingerprintFinding{
                    Kind::Broken, id,
                    QStringLiteral("Eintrag %1 (Prüfung %2) wurde verändert: seine Spalten sagen etwas anderes als sein "
                                   "Inhalt.")
                        .arg(nr)
                        .arg(id)};
        }
        if (entry.kind == FingerprintKind::Identity)
            identities.push_back({nr, fieldOf(content, u"DATENBANK")});
        else
            entries.push_back(entry);
        previous = value;
        expectedNr = nr + 1;
        reportEvery(1000, progress, QStringLiteral("Fingerabdrücke werden gelesen"), result.entries,
                    std::max(total, qint64(result.entries)), QStringLiteral("Einträgen"));
    }
    return entries;
}

// The newest entry of each inspection, in the order of the inspections' keys;
// addedLater says whether any entry of it was added later.
std::vector<EntryDigest> newestByInspection(std::vector<EntryDigest> entries)
{
    std::sort(entries.begin(), entries.end(), [](const EntryDigest &a, const EntryDigest &b) {
        return a.pruefungId != b.pruefungId ? a.pruefungId < b.pruefungId : a.nr < b.nr;
    });
    // Compacted in place: the newest of each inspection stays.
    auto kept = entries.begin();
    for (auto e = entries.begin(); e != entries.end(); ++e) {
        if (kept != entries.begin() && std::prev(kept)->pruefungId == e->pruefungId) {
            const bool addedLater = std::prev(kept)->addedLater || e->addedLater;
            *std::prev(kept) = *e;
            std::prev(kept)->addedLater = addedLater;
        } else {
            *kept++ = *e;
        }
    }
    entries.erase(kept, entries.end());
    entries.shrink_to_fit();
    return entries;
}

TFingerprintFinding missing(int id)
{
    return {Kind::Missing, id, QStringLiteral("Prüfung %1 fehlt: sie wurde ohne das Programm gelöscht.").arg(id)};
}

// Without a gap in the chain, an inspection without an entry never had one;
// with a gap, its entry is more likely the one that went missing.
TFingerprintFinding unfingerprinted(int id, bool chainHasGaps)
{
    return {Kind::Unfingerprinted, id,
            chainHasGaps ? QStringLiteral("Prüfung %1 hat keinen Fingerabdruck mehr: ihr Eintrag fehlt in der Kette (oder "
                                          "sie wurde außerhalb des Programms eingefügt).")
                               .arg(id)
                         : QStringLiteral("Prüfung %1 hat keinen Fingerabdruck (außerhalb des Programms eingefügt).").arg(id)};
}

TFingerprintFinding changed(int id)
{
    return {Kind::Changed, id,
            QStringLiteral("Prüfung %1: die gespeicherten Daten passen nicht mehr zu ihrem Fingerabdruck "
                           "(außerhalb des Programms geändert).")
                .arg(id)};
}

// Compares a stored inspection with its newest entry.
void compare(const TInspectionBodies &stored, const EntryDigest &newest, TFingerprintReport &result)
{
    if (newest.kind == FingerprintKind::Corrected)
        ++result.corrected;
    // A deleted inspection that is back, or an entry whose kind no program
    // writes, cannot match what is stored.
    const bool matches = newest.kind && newest.kind != FingerprintKind::Deleted && newest.tailCanonical &&
                         sha256OfUtf8(stored.body(*newest.kind) + QStringLiteral("VORHER=") +
                                  (newest.first ? QString() : hexOf(newest.previous)) + u'\n') == newest.content;
    if (!matches)
        result.findings << changed(stored.pruefungId());
}

// From its identity step on, a file keeps its identity readable and its
// chain names it exactly once; a file from before has none to check.
void checkIdentity(TDatabase &db, const std::vector<ChainIdentity> &inChain, TFingerprintReport &result)
{
    if (storedSchemaVersion(db) < kDatabaseIdentityStep)
        return;
    const auto finding = [&result](const QString &text) { result.findings << TFingerprintFinding{Kind::Identity, 0, text}; };
    const std::optional<QString> readable = storedDatabaseIdentity(db);
    if (!readable)
        finding(QStringLiteral("Die Kennung der Datenbank fehlt (Tabelle DATENBANK_KENNUNG)."));
    if (inChain.empty()) {
        finding(QStringLiteral("Die Kette enthält keinen Eintrag mit der Kennung der Datenbank: er wurde gelöscht."));
        return;
    }
    if (inChain.size() > 1) {
        QStringList places;
        for (const ChainIdentity &e : inChain)
            places << QString::number(e.nr);
        finding(QStringLiteral("Die Kette nennt mehr als eine Kennung der Datenbank (Einträge %1).")
                    .arg(places.join(QStringLiteral(", "))));
    }
    if (readable && *readable != inChain.front().identity)
        finding(QStringLiteral("Die Kennung der Datenbank (%1) ist nicht die, die die Kette nennt (%2): sie wurde "
                               "verändert.")
                    .arg(*readable, inChain.front().identity));
}

} // namespace

TFingerprintReport verifyFingerprints(TDatabase &db, const Progress &progress)
{
    TFingerprintReport result;
    // Read only: a missing chain is what was found, never made anew here.
    if (!schemaObjectExists(db, SchemaObject::Table, QStringLiteral("FINGERABDRUECKE"))) {
        result.findings << TFingerprintFinding{Kind::Gap, 0,
                                               QStringLiteral("Die Fingerabdrücke fehlen: die Datenbank hat keine Tabelle "
                                                              "FINGERABDRUECKE.")};
        return result;
    }
    std::vector<ChainIdentity> identities;
    const std::vector<EntryDigest> newest = newestByInspection(checkChain(db, result, progress, identities));
    checkIdentity(db, identities, result);
    result.addedLater = static_cast<int>(
        std::count_if(newest.cbegin(), newest.cend(), [](const EntryDigest &e) { return e.addedLater; }));

    // Both in the order of the inspections' keys: one merge.
    auto entry = newest.cbegin();
    const auto compared = [&] {
        reportEvery(1000, progress, QStringLiteral("Fingerabdrücke werden geprüft"), entry - newest.cbegin(),
                    static_cast<qint64>(newest.size()), QStringLiteral("Prüfungen"));
    };
    const auto skipEntriesBefore = [&](int id) {
        for (; entry != newest.cend() && entry->pruefungId < id; ++entry, compared())
            if (entry->kind != FingerprintKind::Deleted)
                result.findings << missing(entry->pruefungId);
    };
    const bool chainHasGaps = std::any_of(result.findings.cbegin(), result.findings.cend(),
                                          [](const TFingerprintFinding &f) { return f.kind == Kind::Gap; });
    TInspectionBodies stored(db);
    while (stored.next()) {
        const int id = stored.pruefungId();
        ++result.inspections;
        skipEntriesBefore(id);
        if (entry == newest.cend() || entry->pruefungId != id) {
            result.findings << unfingerprinted(id, chainHasGaps);
            continue;
        }
        compare(stored, *entry, result);
        ++entry;
        compared();
    }
    skipEntriesBefore(std::numeric_limits<int>::max());
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const TFingerprintFinding &a, const TFingerprintFinding &b) { return a.pruefungId < b.pruefungId; });
    return result;
}

namespace {

QString counted(int n, const QString &one, const QString &many) { return n == 1 ? one : many.arg(n); }

} // namespace

QString TFingerprintReport::text() const
{
    QStringList lines;
    const QString chain = counted(entries, QStringLiteral("die Kette aus 1 Eintrag ist vollständig."),
                                  QStringLiteral("die Kette aus %1 Einträgen ist vollständig."));
    if (!sound())
        lines << QStringLiteral("Bei der Prüfung der Fingerabdrücke %1 gefunden:")
                     .arg(counted(static_cast<int>(findings.size()), QStringLiteral("wurde 1 Abweichung"),
                                  QStringLiteral("wurden %1 Abweichungen")));
    else if (inspections == 0)
        lines << QStringLiteral("Es sind keine Prüfungen gespeichert; ") + chain;
    else
        lines << counted(inspections, QStringLiteral("Die Prüfung stimmt mit ihrem Fingerabdruck überein; "),
                         QStringLiteral("Alle %1 Prüfungen stimmen mit ihren Fingerabdrücken überein; ")) +
                     chain;
    for (const TFingerprintFinding &f : findings)
        lines << QStringLiteral("- ") + f.text;
    if (addedLater > 0)
        lines << counted(addedLater, QStringLiteral("1 Prüfung wurde vor der Einführung der Fingerabdrücke gespeichert"),
                         QStringLiteral("%1 Prüfungen wurden vor der Einführung der Fingerabdrücke gespeichert")) +
                     QStringLiteral("; ihr Fingerabdruck wurde nachgetragen.");
    if (corrected > 0)
        lines << counted(corrected,
                         QStringLiteral("1 Prüfung wurde nach ihrem Protokoll korrigiert; die frühere Fassung ist aufbewahrt."),
                         QStringLiteral("%1 Prüfungen wurden nach ihrem Protokoll korrigiert; die früheren Fassungen sind "
                                        "aufbewahrt."));
    return lines.join(u'\n');
}

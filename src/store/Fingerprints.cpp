#include "Fingerprints.h"
#include "Clock.h"
#include "Database.h"
#include "DbError.h"
#include "EvidenceRights.h"
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>
#include "Query.h"
#include "Sha256.h"

namespace {

// The columns of PRUEFUNGEN in the canonical text, in this order. Frozen:
// a later column would change every fingerprint already taken.
const char *const kRecordedColumns[] = {
    "SICHTPRUEFUNG_BESTANDEN",
    "SCHUTZLEITWIDERSTAND", "SCHUTZLEITWIDERSTAND_BESTANDEN",
    "ISOLATIONSPRUEFUNG", "ISOLATIONSPRUEFUNG_BESTANDEN",
    "ERSATZABLEITSTROM", "ERSATZABLEITSTROM_BESTANDEN",
    "DIFFERENZSTROM", "DIFFERENZSTROM_BESTANDEN",
    "BERUEHRUNGSSTROM", "BERUEHRUNGSSTROM_BESTANDEN",
    "FUNKTIONSPRUEFUNG_BESTANDEN",
    "BEMERKUNG",
};

const QString kFormatLine = QStringLiteral("VELMORA-FINGERABDRUCK 1\n");

// Four places after the point, '.' as separator, no grouping: "0.0600".
QString canonicalDecimal(const TDecimal &value)
{
    const TDecimal d = value.rescaled(4);
    const qint64 units = d.units() < 0 ? -d.units() : d.units();
    const QString text = QString::number(units / 10000) + u'.' + QString::number(units % 10000).rightJustified(4, u'0');
    return d.units() < 0 ? u'-' + text : text;
}

// "2014-01-12 18:33:00.0000": the engine's own precision of 1/10000 second.
QString canonicalTimestamp(const TTimestamp &t)
{
    const quint32 seconds = t.time / 10000;
    const QDate day = t.toDate();
    char text[96]; // room for any int, so that no truncation is possible
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02u:%02u:%02u.%04u", day.year(), day.month(), day.day(), seconds / 3600,
                  seconds / 60 % 60, seconds % 60, t.time % 10000);
    return QString::fromLatin1(text);
}

// One line per value: a backslash, a line feed and a carriage return inside
// a text are written as \\, \n and \r.
QString canonicalText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString canonicalValue(const TQuery &q, int column)
{
    const TValue &v = q.value(column);
    if (isNull(v))
        return {};
    if (const auto *d = std::get_if<TDecimal>(&v))
        return canonicalDecimal(*d);
    if (const auto *t = std::get_if<TTimestamp>(&v))
        return canonicalTimestamp(*t);
    if (std::holds_alternative<QString>(v) || std::holds_alternative<TBlobRef>(v))
        return canonicalText(q.asString(column));
    return valueToPlainText(v);
}

QString line(const QString &name, const QString &value) { return name + u'=' + value + u'\n'; }

struct Body {
    QString text;
    int version = 0;
};

// The statement that reads inspections with what their canonical text
// needs, for the rows of the given condition on p (PRUEFUNGEN).
QString inspectionBodySelect(const QString &condition)
{
    QStringList recorded;
    for (const char *c : kRecordedColumns)
        recorded << QStringLiteral("p.") + QString::fromLatin1(c);
    return QStringLiteral("SELECT p.ID, (SELECT COUNT(*) FROM PRUEFUNGEN_VERSIONEN v WHERE v.PRUEFUNG_ID = p.ID), "
                          "l.KUNDEN_ID, p.PRUEFLINGE_ID, p.BEZEICHNUNG, p.PRUEFDATUM, p.NEXT_PRUEFDATUM, p.PRUEFER_ID, "
                          "p.PRUEFGERAETE_ID, ") +
           recorded.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM PRUEFUNGEN p LEFT JOIN PRUEFLINGE l ON l.ID = p.PRUEFLINGE_ID WHERE ") + condition;
}

// The canonical text of the current row of a query of inspectionBodySelect.
Body inspectionBodyOfRow(const TQuery &q, FingerprintKind kind)
{
    Body body;
    body.version = static_cast<int>(q.asInteger(1)) + 1;
    // Appended in place: a whole chain is checked by building this text for
    // every inspection.
    QString &text = body.text;
    text.reserve(1024);
    const auto add = [&text](QLatin1StringView name, const QString &value) {
        text += name;
        text += u'=';
        text += value;
        text += u'\n';
    };
    text += kFormatLine;
    add(QLatin1StringView("ART"), fingerprintKindText(kind));
    add(QLatin1StringView("PRUEFUNG"), canonicalValue(q, 0));
    add(QLatin1StringView("VERSION"), QString::number(body.version));
    add(QLatin1StringView("KUNDE"), canonicalValue(q, 2));
    add(QLatin1StringView("PRUEFLING"), canonicalValue(q, 3));
    add(QLatin1StringView("BEZEICHNUNG"), canonicalValue(q, 4));
    add(QLatin1StringView("PRUEFDATUM"), canonicalValue(q, 5));
    add(QLatin1StringView("NEXT_PRUEFDATUM"), canonicalValue(q, 6));
    add(QLatin1StringView("PRUEFER"), canonicalValue(q, 7));
    add(QLatin1StringView("PRUEFGERAET"), canonicalValue(q, 8));
    int column = 9;
    for (const char *c : kRecordedColumns)
        add(QLatin1StringView(c), canonicalValue(q, column++));
    return body;
}

Body inspectionBody(TDatabase &db, int pruefungId, FingerprintKind kind)
{
    TQuery q(&db);
    q.setSql(inspectionBodySelect(QStringLiteral("p.ID = :ID")));
    q.paramByName(QStringLiteral("ID")).setAsInteger(pruefungId);
    q.execQuery();
    if (q.eof())
        return {};
    const Body body = inspectionBodyOfRow(q, kind);
    q.close();
    return body;
}

// An entry of the chain; the insert statement is prepared once and reused.
struct ChainEntry {
    qint64 nr = 0;
    int pruefungId = 0;
    FingerprintKind kind = FingerprintKind::Recorded;
    int version = 0;
    QString content;
    QString value;
};

// Through the procedure that holds the right to append, where the file has
// it (chainThroughProcedures); the statement is prepared once per query.
void insertEntry(TQuery &insert, const ChainEntry &e, bool throughProcedure)
{
    if (insert.sql().isEmpty())
        insert.setSql(throughProcedure
                          ? QStringLiteral("EXECUTE PROCEDURE %1 (:NR, :PRUEFUNG_ID, :ART, :VERSION, :ERSTELLT, :INHALT, :WERT)")
                                .arg(kAppendProcedure)
                          : QStringLiteral("INSERT INTO FINGERABDRUECKE (NR, PRUEFUNG_ID, ART, VERSION, ERSTELLT, INHALT, WERT) "
                                           "VALUES (:NR, :PRUEFUNG_ID, :ART, :VERSION, :ERSTELLT, :INHALT, :WERT)"));
    insert.paramByName(QStringLiteral("NR")).setAsInteger(e.nr);
    insert.paramByName(QStringLiteral("PRUEFUNG_ID")).setAsInteger(e.pruefungId);
    insert.paramByName(QStringLiteral("ART")).setAsString(fingerprintKindText(e.kind));
    insert.paramByName(QStringLiteral("VERSION")).setAsInteger(e.version);
    insert.paramByName(QStringLiteral("ERSTELLT")).setAsDateTime(TClock::now());
    insert.paramByName(QStringLiteral("INHALT")).setAsString(e.content);
    insert.paramByName(QStringLiteral("WERT")).setAsString(e.value);
    insert.execQuery();
    insert.close();
}

// The engine's codes for a key that exists already.
constexpr qint64 kUniqueKeyViolation = 335544665; // isc_unique_key_violation
constexpr qint64 kNoDuplicate = 335544349;        // isc_no_dup
constexpr qint64 kUserException = 335544517;      // isc_except: a procedure's own refusal

// The newest entry, locked, so that no other workstation appends after it
// until this transaction commits; none when the chain is empty or another
// workstation appended in between (then it is read again). A lock needs the
// right to change the row, which only the database's procedure has where
// the chain goes through procedures.
std::optional<std::pair<qint64, QString>> lockNewestEntry(TDatabase &db, bool throughProcedure, bool &retry)
{
    if (throughProcedure) {
        TQuery head(&db);
        head.setSql(QStringLiteral("SELECT NR, WERT FROM %1").arg(kLockHeadProcedure));
        try {
            head.execQuery();
        } catch (const EDatabaseError &) {
            retry = true; // another workstation appended meanwhile
            return std::nullopt;
        }
        if (head.eof() || head.isNull(0))
            return std::nullopt;
        return std::pair<qint64, QString>{head.asInteger(0), head.asString(1).trimmed()};
    }
    TQuery last(&db);
    last.setSql(fingerprintChainHeadSql());
    last.execQuery();
    if (last.eof())
        return std::nullopt;
    const std::pair<qint64, QString> newest{last.asInteger(0), last.asString(1).trimmed()};
    last.close();
    TQuery lock(&db);
    lock.setSql(QStringLiteral("SELECT NR FROM FINGERABDRUECKE WHERE NR = :NR WITH LOCK"));
    lock.paramByName(QStringLiteral("NR")).setAsInteger(newest.first);
    try {
        lock.execQuery();
    } catch (const EDatabaseError &) {
        retry = true; // another workstation appended meanwhile
    }
    return newest;
}

// Appends after the newest entry. On a server another workstation may append
// at the same moment: the newest entry is locked first, and whoever comes
// second waits, reads the chain again and follows it.
QString appendEntry(TDatabase &db, int pruefungId, FingerprintKind kind, int version, const QString &body)
{
    constexpr int kAttempts = 50;
    const bool throughProcedure = chainThroughProcedures(db);
    for (int attempt = 1;; ++attempt) {
        bool retry = false;
        const auto newest = lockNewestEntry(db, throughProcedure, retry);
        if (retry && attempt < kAttempts) {
            QThread::msleep(QRandomGenerator::global()->bounded(1, 20));
            continue;
        }
        const qint64 nr = newest ? newest->first + 1 : 1;
        const QString content = body + line(QStringLiteral("VORHER"), newest ? newest->second : QString());
        const QString value = sha256Hex(content);
        TQuery insert(&db);
        try {
            insertEntry(insert, {nr, pruefungId, kind, version, content, value}, throughProcedure);
        } catch (const EDatabaseError &e) {
            // The key taken, or (through the procedure) no longer the newest.
            const bool taken = e.hasEngineCode(kUniqueKeyViolation) || e.hasEngineCode(kNoDuplicate) ||
                               e.hasEngineCode(kUserException);
            if (taken && attempt < kAttempts) {
                QThread::msleep(QRandomGenerator::global()->bounded(1, 20));
                continue;
            }
            throw;
        }
        return value;
    }
}

std::optional<TFingerprintEntry> readEntry(TDatabase &db, const QString &condition, const TValue &param)
{
    TQuery q(&db);
    // "NR + 0": sorted after the condition's index found the few rows. In
    // the order of the chain's descending index the engine would walk the
    // chain from its newest entry back to the one asked for.
    q.setSql(QStringLiteral("SELECT FIRST 1 NR, PRUEFUNG_ID, ART, VERSION, ERSTELLT, INHALT, WERT FROM FINGERABDRUECKE WHERE ") +
             condition + QStringLiteral(" ORDER BY NR + 0 DESC"));
    q.param(0).setValue(param);
    q.execQuery();
    if (q.eof())
        return std::nullopt;
    TFingerprintEntry e{static_cast<int>(q.asInteger(0)), static_cast<int>(q.asInteger(1)), q.asString(2),
                        static_cast<int>(q.asInteger(3)), q.asDateTime(4), q.asString(5), q.asString(6).trimmed()};
    q.close();
    return e;
}

} // namespace

std::optional<FingerprintKind> fingerprintKindFromText(const QString &text)
{
    for (FingerprintKind k : {FingerprintKind::Recorded, FingerprintKind::AddedLater, FingerprintKind::Corrected,
                              FingerprintKind::Deleted, FingerprintKind::Identity})
        if (fingerprintKindText(k) == text)
            return k;
    return std::nullopt;
}

TInspectionBodies::TInspectionBodies(TDatabase &db)
    : m_query(std::make_unique<TQuery>(&db))
{
    m_query->setSql(inspectionBodySelect(QStringLiteral("1 = 1 ORDER BY p.ID")));
}

TInspectionBodies::~TInspectionBodies() = default;

bool TInspectionBodies::next()
{
    if (m_started)
        m_query->next();
    else
        m_query->execQuery();
    m_started = true;
    return !m_query->eof();
}

int TInspectionBodies::pruefungId() const { return static_cast<int>(m_query->asInteger(0)); }

QString TInspectionBodies::body(FingerprintKind kind) const { return inspectionBodyOfRow(*m_query, kind).text; }

QString fingerprintKindText(FingerprintKind kind)
{
    switch (kind) {
    case FingerprintKind::AddedLater: return QStringLiteral("nachgetragen");
    case FingerprintKind::Corrected: return QStringLiteral("korrigiert");
    case FingerprintKind::Deleted: return QStringLiteral("geloescht");
    case FingerprintKind::Identity: return QStringLiteral("identitaet");
    case FingerprintKind::Recorded: break;
    }
    return QStringLiteral("erfasst");
}

QString canonicalInspectionBody(TDatabase &db, int pruefungId, FingerprintKind kind)
{
    return inspectionBody(db, pruefungId, kind).text;
}

QString canonicalDeletionBody(int pruefungId)
{
    return kFormatLine + line(QStringLiteral("ART"), fingerprintKindText(FingerprintKind::Deleted)) +
           line(QStringLiteral("PRUEFUNG"), QString::number(pruefungId));
}

QString canonicalIdentityBody(const QString &identity)
{
    return kFormatLine + line(QStringLiteral("ART"), fingerprintKindText(FingerprintKind::Identity)) +
           line(QStringLiteral("DATENBANK"), identity);
}

QString sha256Hex(const QString &text)
{
    return QString::fromLatin1(Sha256::hex(sha256OfUtf8(text)));
}

QString fingerprintInspection(TDatabase &db, int pruefungId, FingerprintKind kind)
{
    const Body body = inspectionBody(db, pruefungId, kind);
    if (body.text.isEmpty())
        throw EDatabaseError(QStringLiteral("Die Prüfung %1 gibt es nicht.").arg(pruefungId));
    return appendEntry(db, pruefungId, kind, body.version, body.text);
}

QString fingerprintDeletion(TDatabase &db, int pruefungId)
{
    const std::optional<TFingerprintEntry> latest = latestFingerprint(db, pruefungId);
    return appendEntry(db, pruefungId, FingerprintKind::Deleted, latest ? latest->version : 1, canonicalDeletionBody(pruefungId));
}

QString fingerprintDatabaseIdentity(TDatabase &db, const QString &identity)
{
    return appendEntry(db, 0, FingerprintKind::Identity, 0, canonicalIdentityBody(identity));
}

std::optional<TFingerprintEntry> latestFingerprint(TDatabase &db, int pruefungId)
{
    return readEntry(db, QStringLiteral("PRUEFUNG_ID = :ID"), qint64(pruefungId));
}

std::optional<TFingerprintEntry> fingerprintByValue(TDatabase &db, const QString &value)
{
    return readEntry(db, QStringLiteral("WERT = :WERT"), value.toLower());
}

QString shortFingerprint(const QString &value)
{
    QStringList groups;
    for (int i = 0; i < 16 && i < value.size(); i += 4)
        groups << value.mid(i, 4);
    return groups.join(u' ');
}

QString recordedData(const QString &content)
{
    QStringList lines = content.split(u'\n');
    lines.removeIf([](const QString &l) { return l.startsWith(u"ART=") || l.startsWith(u"VORHER="); });
    return lines.join(u'\n');
}

QString fingerprintChainHeadSql()
{
    return QStringLiteral("SELECT FIRST 1 NR, WERT FROM FINGERABDRUECKE ORDER BY NR DESC");
}

int fingerprintUnmarkedInspections(TDatabase &db, int chunkRows, const std::function<void(int)> &commitChunk)
{
    // One pass: the chain's head is read once and then carried along.
    ChainEntry entry;
    {
        TQuery head(&db);
        head.setSql(fingerprintChainHeadSql());
        head.execQuery();
        if (!head.eof()) {
            entry.nr = head.asInteger(0);
            entry.value = head.asString(1).trimmed();
        }
    }
    entry.kind = FingerprintKind::AddedLater;
    TQuery q(&db);
    q.setSql(inspectionBodySelect(QStringLiteral("NOT EXISTS (SELECT 1 FROM FINGERABDRUECKE f WHERE f.PRUEFUNG_ID = p.ID) "
                                                 "ORDER BY p.PRUEFDATUM, p.ID")));
    TQuery insert(&db);
    const bool throughProcedure = chainThroughProcedures(db);
    int done = 0;
    for (q.execQuery(); !q.eof(); q.next()) {
        const Body body = inspectionBodyOfRow(q, entry.kind);
        ++entry.nr;
        entry.pruefungId = static_cast<int>(q.asInteger(0));
        entry.version = body.version;
        entry.content = body.text + line(QStringLiteral("VORHER"), entry.value);
        entry.value = sha256Hex(entry.content);
        insertEntry(insert, entry, throughProcedure);
        if (++done % chunkRows == 0)
            commitChunk(done);
    }
    return done;
}

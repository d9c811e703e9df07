#include "ChainAnchor.h"
#include "Fingerprints.h"
#include "Query.h"
#include "SchemaObjects.h"
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kFirstLine = QStringLiteral("VELMORA-ANKER 1");

bool hasChain(TDatabase &db) { return schemaObjectExists(db, SchemaObject::Table, QStringLiteral("FINGERABDRUECKE")); }

// The value of the entry with that number, or none when there is no such entry.
std::optional<QString> valueAt(TDatabase &db, qint64 nr)
{
    if (!hasChain(db))
        return std::nullopt;
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT WERT FROM FINGERABDRUECKE WHERE NR = :NR"));
    q.paramByName(QStringLiteral("NR")).setAsInteger(nr);
    q.execQuery();
    return q.eof() ? std::nullopt : std::optional<QString>(q.asString(0).trimmed());
}

} // namespace

std::optional<ChainAnchor> anchorOfChain(TDatabase &db, const QString &name)
{
    if (!hasChain(db))
        return std::nullopt;
    TQuery head(&db);
    head.setSql(fingerprintChainHeadSql());
    head.execQuery();
    if (head.eof())
        return std::nullopt;
    return ChainAnchor{name, {}, head.asInteger(0), head.asString(1).trimmed()};
}

QString anchorText(const ChainAnchor &anchor)
{
    return QStringList{kFirstLine, QStringLiteral("DATENBANK=") + anchor.database,
                       QStringLiteral("ERSTELLT=") + anchor.created.toString(Qt::ISODate),
                       QStringLiteral("EINTRAEGE=") + QString::number(anchor.entries), QStringLiteral("KOPF=") + anchor.head}
               .join(u'\n') +
           u'\n';
}

std::optional<ChainAnchor> parseAnchor(const QString &text, QString *why)
{
    static const QRegularExpression value(QStringLiteral("^[0-9a-f]{64}$"));
    // A text editor may have added a byte order mark and CRs.
    QStringList lines = QString(text).remove(QChar(0xFEFF)).split(u'\n');
    for (QString &line : lines)
        line = line.trimmed();
    const auto field = [&lines](const QString &name) {
        for (const QString &line : std::as_const(lines))
            if (line.startsWith(name + u'='))
                return std::optional<QString>(line.mid(name.size() + 1));
        return std::optional<QString>();
    };
    ChainAnchor anchor;
    bool numeric = false;
    anchor.database = field(QStringLiteral("DATENBANK")).value_or(QString());
    anchor.created = QDateTime::fromString(field(QStringLiteral("ERSTELLT")).value_or(QString()), Qt::ISODate);
    anchor.entries = field(QStringLiteral("EINTRAEGE")).value_or(QString()).toLongLong(&numeric);
    anchor.head = field(QStringLiteral("KOPF")).value_or(QString());
    if (lines.value(0) != kFirstLine || !anchor.created.isValid() || !numeric || anchor.entries < 1 ||
        !value.match(anchor.head).hasMatch()) {
        *why = QStringLiteral("Die Datei ist kein vollständiger Anker der Fingerabdrücke (erwartet: die Zeilen %1, "
                              "ERSTELLT=, EINTRAEGE= und KOPF= mit 64 Hex-Ziffern).")
                   .arg(kFirstLine);
        return std::nullopt;
    }
    return anchor;
}

std::optional<ChainAnchor> readAnchorFile(const QString &path, QString *why)
{
    constexpr qint64 kLongest = 64 * 1024; // an anchor is five short lines
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        *why = QStringLiteral("Den Anker %1 gibt es nicht.").arg(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLongest) {
        *why = QStringLiteral("Der Anker %1 kann nicht gelesen werden.").arg(path);
        return std::nullopt;
    }
    std::optional<ChainAnchor> anchor = parseAnchor(QString::fromUtf8(file.readAll()), why);
    if (!anchor)
        *why = QStringLiteral("Der Anker %1 kann nicht gelesen werden: %2").arg(path, *why);
    return anchor;
}

QString anchorMismatch(TDatabase &db, const ChainAnchor &anchor)
{
    const std::optional<QString> now = valueAt(db, anchor.entries);
    if (now == anchor.head)
        return {};
    const QString differs = now
        ? QStringLiteral("Eintrag %1 hat einen anderen Fingerabdruck (Anker: %2, Datenbank: %3); die Kette wurde seither "
                         "neu berechnet.")
              .arg(anchor.entries)
              .arg(shortFingerprint(anchor.head), shortFingerprint(*now))
        : QStringLiteral("Eintrag %1 fehlt in der Kette.").arg(anchor.entries);
    return QStringLiteral("Der Anker vom %1 passt nicht mehr: %2").arg(anchor.created.toString(QStringLiteral("dd.MM.yyyy")), differs);
}

QString groupedValue(const QString &value)
{
    QStringList groups;
    for (qsizetype at = 0; at < value.size(); at += 8)
        groups << value.mid(at, 8);
    return groups.join(u' ');
}

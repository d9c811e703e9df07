#include "FingerprintCheck.h"
#include "Database.h"
#include "Fingerprints.h"
#include "Query.h"
#include <QMap>
#include <QSet>

namespace {

using Kind = TFingerprintFinding::Kind;

// What a recomputation needs of the newest entry of each inspection.
struct Newest {
    QString kind;
    QString content;
};

QString previousOf(const QString &content)
{
    const qsizetype at = content.lastIndexOf(QStringLiteral("VORHER="));
    return at < 0 ? QString() : content.mid(at + 7).trimmed();
}

FingerprintKind kindFromText(const QString &text)
{
    for (FingerprintKind k : {FingerprintKind::Recorded, FingerprintKind::AddedLater, FingerprintKind::Corrected,
                              FingerprintKind::Deleted})
        if (fingerprintKindText(k) == text)
            return k;
    return FingerprintKind::Recorded;
}

// Walks the chain in its order: every entry must hash to its value, name the
// value before it and follow its number without a gap.
void checkChain(TDatabase &db, TFingerprintReport &report, QMap<int, Newest> &newest, QSet<int> &addedLater)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT NR, PRUEFUNG_ID, ART, INHALT, WERT FROM FINGERABDRUECKE ORDER BY NR"));
    int expectedNr = 1;
    QString previous;
    for (q.execQuery(); !q.eof(); q.next()) {
        const int nr = static_cast<int>(q.asInteger(0));
        const int pruefungId = static_cast<int>(q.asInteger(1));
        const QString kind = q.asString(2);
        const QString content = q.asString(3);
        const QString value = q.asString(4).trimmed();
        ++report.entries;
        if (nr != expectedNr)
            report.findings << TFingerprintFinding{
                Kind::Gap, 0,
                nr == expectedNr + 1 ? QStringLiteral("Lücke in der Kette: Eintrag %1 fehlt.").arg(expectedNr)
                                     : QStringLiteral("Lücke in der Kette: Einträge %1 bis %2 fehlen.").arg(expectedNr).arg(nr - 1)};
        if (sha256Hex(content) != value)
            report.findings << TFingerprintFinding{
                Kind::Broken, pruefungId,
                QStringLiteral("Eintrag %1 (Prüfung %2) wurde verändert: sein Fingerabdruck passt nicht zu seinem Inhalt.")
                    .arg(nr)
                    .arg(pruefungId)};
        else if (previousOf(content) != previous)
            report.findings << TFingerprintFinding{
                Kind::Broken, pruefungId,
                QStringLiteral("Die Kette ist vor Eintrag %1 (Prüfung %2) unterbrochen: der vorige Fingerabdruck fehlt "
                               "oder wurde verändert.")
                    .arg(nr)
                    .arg(pruefungId)};
        if (kind == fingerprintKindText(FingerprintKind::AddedLater))
            addedLater.insert(pruefungId);
        newest[pruefungId] = Newest{kind, content};
        previous = value;
        expectedNr = nr + 1;
    }
}

} // namespace

TFingerprintReport verifyFingerprints(TDatabase &db, const Progress &progress)
{
    TFingerprintReport report;
    QMap<int, Newest> newest;
    QSet<int> addedLater;
    checkChain(db, report, newest, addedLater);
    report.addedLater = static_cast<int>(addedLater.size());

    TQuery ids(&db);
    ids.setSql(QStringLiteral("SELECT ID FROM PRUEFUNGEN ORDER BY ID"));
    QSet<int> stored;
    for (ids.execQuery(); !ids.eof(); ids.next())
        stored.insert(static_cast<int>(ids.asInteger(0)));
    ids.close();
    report.inspections = static_cast<int>(stored.size());

    const auto compared = [&progress, total = newest.size()](qint64 done) {
        if (progress && (done % 1000 == 0 || done == total))
            progress(progressText(QStringLiteral("Fingerabdrücke werden geprüft"), done, total, QStringLiteral("Prüfungen")),
                     done, total);
    };
    qint64 done = 0;
    for (auto it = newest.cbegin(); it != newest.cend(); ++it, compared(++done)) {
        const int id = it.key();
        const bool deleted = it->kind == fingerprintKindText(FingerprintKind::Deleted);
        if (deleted && !stored.contains(id))
            continue;
        if (!stored.contains(id)) {
            report.findings << TFingerprintFinding{
                Kind::Missing, id, QStringLiteral("Prüfung %1 fehlt: sie wurde ohne das Programm gelöscht.").arg(id)};
            continue;
        }
        if (it->kind == fingerprintKindText(FingerprintKind::Corrected))
            ++report.corrected;
        const QString now = deleted ? QString()
                                    : canonicalInspectionBody(db, id, kindFromText(it->kind)) +
                                          QStringLiteral("VORHER=") + previousOf(it->content) + u'\n';
        if (now != it->content)
            report.findings << TFingerprintFinding{
                Kind::Changed, id,
                QStringLiteral("Prüfung %1: die gespeicherten Daten passen nicht mehr zu ihrem Fingerabdruck "
                               "(außerhalb des Programms geändert).")
                    .arg(id)};
    }
    for (int id : stored)
        if (!newest.contains(id))
            report.findings << TFingerprintFinding{Kind::Unfingerprinted, id,
                                                   QStringLiteral("Prüfung %1 hat keinen Fingerabdruck "
                                                                  "(außerhalb des Programms eingefügt).")
                                                       .arg(id)};
    std::sort(report.findings.begin(), report.findings.end(),
              [](const TFingerprintFinding &a, const TFingerprintFinding &b) { return a.pruefungId < b.pruefungId; });
    return report;
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

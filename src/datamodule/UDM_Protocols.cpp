// Records that prove they were not changed: every stored, corrected or
// deleted inspection is fingerprinted in the transaction of its change; an
// inspection whose protocol was printed or saved is closed, so a change asks
// for its reason and keeps the earlier version, and it cannot be deleted.
#include "UDM.h"
#include "ClosedInspections.h"
#include "DatabaseIdentity.h"
#include "DbError.h"
#include "Dialogs.h"
#include "Fingerprints.h"
#include "InspectionDates.h"
#include "Query.h"
#include "RuleRefusal.h"
#include <QLocale>

namespace {

constexpr int kReasonLength = 200;

int keyOf(TDataSet &d) { return static_cast<int>(d.fieldByName(QStringLiteral("ID"))->asInteger()); }

} // namespace

void TfrmDM::declareProtocols()
{
    dsetPruefungen.beforePost = [this](TDataSet &d) {
        confirmInspectionDate(d);
        dsetPruefungenBeforePost();
    };
    dsetPruefungen.beforeStatement = [this](TDataSet &d) {
        if (d.state() == TDataSetState::Edit && FCorrectionReason)
            keepInspectionVersion(Database, keyOf(d), *FCorrectionReason);
    };
    dsetPruefungen.afterStatement = [this](TDataSet &d) {
        if (!d.editing())
            fingerprintDeletion(Database, keyOf(d));
        else
            fingerprintInspection(Database, keyOf(d),
                                  FCorrectionReason ? FingerprintKind::Corrected : FingerprintKind::Recorded);
        FCorrectionReason.reset();
    };
    dsetPruefungen.beforeDelete = [this](TDataSet &d) {
        refuseDeleteWhileUsed(d, QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN_ABGESCHLOSSEN WHERE PRUEFUNG_ID = :ID"),
                              QStringLiteral("Diese Prüfung ist abgeschlossen: ihr Protokoll wurde gedruckt oder als PDF "
                                             "gespeichert. Sie kann nicht gelöscht werden; eine Änderung wird als "
                                             "Korrektur gespeichert."));
    };
    // A device takes its inspections with it: not when one of them is
    // closed, and otherwise each leaves its deletion in the chain.
    dsetPrueflinge.beforeDelete = [this](TDataSet &d) {
        refuseDeleteWhileUsed(d,
                              QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN_ABGESCHLOSSEN a JOIN PRUEFUNGEN p ON "
                                             "p.ID = a.PRUEFUNG_ID WHERE p.PRUEFLINGE_ID = :ID"),
                              QStringLiteral("Dieser Prüfling hat abgeschlossene Prüfungen, deren Protokolle gedruckt oder "
                                             "als PDF gespeichert wurden. Er kann nicht gelöscht werden."));
    };
    dsetPrueflinge.beforeStatement = [this](TDataSet &d) {
        FDeletedInspections.clear();
        if (d.editing())
            return;
        TQuery q(&Database);
        q.setSql(QStringLiteral("SELECT ID FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = :ID ORDER BY ID"));
        q.paramByName(QStringLiteral("ID")).setAsInteger(keyOf(d));
        for (q.execQuery(); !q.eof(); q.next())
            FDeletedInspections << static_cast<int>(q.asInteger(0));
    };
    dsetPrueflinge.afterStatement = [this](TDataSet &) {
        for (int id : std::as_const(FDeletedInspections))
            fingerprintDeletion(Database, id);
        FDeletedInspections.clear();
    };
    declareProtocolFields();
}

void TfrmDM::dsetPruefungenBeforePost()
{
    FCorrectionReason.reset();
    TDataSet &d = dsetPruefungen;
    if (d.state() != TDataSetState::Edit || !isInspectionClosed(Database, keyOf(d)))
        return;
    const std::optional<QString> reason =
        dialogs().askText(QStringLiteral("Das Protokoll dieser Prüfung wurde gedruckt oder als PDF gespeichert.\n"
                                         "Die Änderung wird als Korrektur gespeichert, die frühere Fassung bleibt "
                                         "erhalten.\n\nGrund der Korrektur:"),
                          QStringLiteral("Grund der Korrektur"), kReasonLength);
    if (!reason)
        abortSilently(); // the window stays open with the changes
    if (reason->trimmed().isEmpty())
        refuse(QStringLiteral("Ohne Grund der Korrektur wird die Änderung nicht gespeichert."));
    FCorrectionReason = reason->trimmed();
}

void TfrmDM::declareProtocolFields()
{
    TDataSet &d = dsetReportPruefungen;
    d.addCalculatedField(QStringLiteral("Fingerabdruck"), TFieldType::String, 64);
    d.addCalculatedField(QStringLiteral("FingerabdruckKurz"), TFieldType::String, 20);
    d.addCalculatedField(QStringLiteral("Datenbank"), TFieldType::String, 8);
    d.addCalculatedField(QStringLiteral("Version"), TFieldType::String, 20);
    d.addCalculatedField(QStringLiteral("Korrektur"), TFieldType::String, 40 + kReasonLength);
    d.addCalculatedField(QStringLiteral("QrInhalt"), TFieldType::String, 100);
}

void TfrmDM::dsetReportPruefungenFingerprintFields()
{
    TDataSet &d = dsetReportPruefungen;
    const int id = static_cast<int>(d.fieldByName(QStringLiteral("PRUEFUNG_ID"))->asInteger());
    if (const std::optional<TFingerprintEntry> entry = latestFingerprint(Database, id)) {
        d.fieldByName(QStringLiteral("Fingerabdruck"))->setAsString(entry->value);
        d.fieldByName(QStringLiteral("FingerabdruckKurz"))->setAsString(shortFingerprint(entry->value));
        d.fieldByName(QStringLiteral("QrInhalt"))->setAsString(protocolCodeText(id, entry->value));
    }
    if (FReportDatabaseIdentity)
        d.fieldByName(QStringLiteral("Datenbank"))->setAsString(shortDatabaseIdentity(*FReportDatabaseIdentity));
    const std::optional<TCorrection> correction = latestCorrection(Database, id);
    d.fieldByName(QStringLiteral("Version"))->setAsString(QStringLiteral("Version %1").arg(correction ? correction->version : 1));
    if (correction)
        d.fieldByName(QStringLiteral("Korrektur"))
            ->setAsString(QStringLiteral("Korrigiert am %1 Grund: %2")
                              .arg(QLocale().toString(correction->at, QStringLiteral("dd.MM.yyyy HH:mm")), correction->reason));
}

QList<int> TfrmDM::reportedInspections()
{
    QList<int> ids;
    TDataSet &d = dsetReportPruefungen;
    if (!d.active())
        return ids;
    const TField *id = d.fieldByName(QStringLiteral("PRUEFUNG_ID"));
    for (int row = 0; row < d.recordCount(); ++row)
        ids << static_cast<int>(valueToInteger(d.valueAt(row, id)));
    return ids;
}

void TfrmDM::closeReportedInspections()
{
    const QList<int> ids = reportedInspections();
    if (ids.isEmpty())
        return;
    Transaction.start();
    closeInspections(Database, ids);
    Transaction.commitRetaining();
}

QString protocolCodeText(int pruefungId, const QString &fingerprint)
{
    return QStringLiteral("VPF1;P%1;H%2").arg(pruefungId).arg(fingerprint);
}

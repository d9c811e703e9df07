#include "ImportBatch.h"
#include "ClosedInspections.h"
#include "Fingerprints.h"
#include "Clock.h"
#include "DbError.h"
#include "DryRun.h"
#include "ImportLookups.h"
#include "IndexStatistics.h"
#include "InspectionInsert.h"
#include "Query.h"
#include "UDM.h"
#include <QFileInfo>

namespace {

const QString kImporting = QStringLiteral("Prüfungen werden importiert");

// Runs work inside the default transaction; commits on success, takes
// everything back on any failure.
template <typename Work>
auto inOneTransaction(TDatabase &database, Work work)
{
    TTransaction *transaction = database.defaultTransaction();
    transaction->setSavepoint();
    try {
        auto result = work();
        transaction->commitRetaining();
        return result;
    } catch (...) {
        transaction->rollbackToSavepoint();
        throw;
    }
}

QString storableFileName(const QString &path)
{
    QString name = QFileInfo(path).fileName().left(250);
    for (QChar &c : name)
        if (c.unicode() > 0xFF)
            c = u'?';
    return name;
}

bool sameRows(const TDryRun &a, const TDryRun &b)
{
    if (a.rows.size() != b.rows.size())
        return false;
    for (qsizetype i = 0; i < a.rows.size(); ++i) {
        const TImportRow &x = a.rows.at(i);
        const TImportRow &y = b.rows.at(i);
        if (x.state != y.state || x.line != y.line || x.deviceId != y.deviceId || x.when != y.when)
            return false;
    }
    return true;
}

int insertBatch(TDatabase &database, const TDryRun &run)
{
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT GEN_ID(SEQ_IMPORT, 1) FROM RDB$DATABASE"));
    q.execQuery();
    const int id = static_cast<int>(q.asInteger(0));
    q.close();
    q.setSql(QStringLiteral("INSERT INTO IMPORTSTAPEL (ID, IMPORTIERT_AM, DATEINAME, SHA256, PROFIL, ZEILEN, PRUEFER_ID) "
                            "VALUES (:ID, :AM, :DATEI, :SHA, :PROFIL, :ZEILEN, :PRUEFER)"));
    q.paramByName(QStringLiteral("ID")).setAsInteger(id);
    q.paramByName(QStringLiteral("AM")).setAsDateTime(TClock::now());
    q.paramByName(QStringLiteral("DATEI")).setAsString(storableFileName(run.fileName));
    q.paramByName(QStringLiteral("SHA")).setAsString(QString::fromLatin1(run.sha256));
    q.paramByName(QStringLiteral("PROFIL")).setAsString(run.profile.name.left(60));
    q.paramByName(QStringLiteral("ZEILEN")).setAsInteger(run.readyCount());
    if (run.choice.inspectorId > 0)
        q.paramByName(QStringLiteral("PRUEFER")).setAsInteger(run.choice.inspectorId);
    else
        q.paramByName(QStringLiteral("PRUEFER")).clear();
    q.execQuery();
    return id;
}

TNewInspection inspectionOf(const TImportRow &row, int instrumentId)
{
    TNewInspection in;
    in.deviceId = row.deviceId;
    in.inspectorId = row.inspectorId;
    in.instrumentId = instrumentId;
    in.when = row.when;
    in.next = nextInspectionDate(row.when.date(), row.nextInterval);
    in.visual = row.visual;
    in.function = row.function;
    in.values = row.values;
    in.passed = row.passed;
    in.remark = row.remark;
    return in;
}

} // namespace

TImportResult importDryRun(TDatabase &database, const TDryRun &shown, const std::function<void(TDatabase &, int)> &afterInsert,
                           const Progress &progress)
{
    if (!shown.fileError.isEmpty())
        throw EDatabaseError(shown.fileError);
    if (shown.readyCount() == 0)
        return {};
    if (shown.choice.instrumentId <= 0)
        throw EDatabaseError(QStringLiteral("Bitte das Prüfgerät wählen, mit dem gemessen wurde."));
    const TImportResult imported = inOneTransaction(database, [&] {
        const TImportLookups lookups(database);
        const TDryRun now = dryRunImport(lookups, shown.profile, shown.fileName, shown.bytes, shown.choice);
        if (!sameRows(shown, now))
            throw EDatabaseError(QStringLiteral("Die Daten haben sich seit der Vorschau geändert. Bitte die Vorschau neu "
                                                "ansehen; es wurde nichts importiert."));
        TImportResult result{insertBatch(database, now), 0};
        TInspectionWriter writer(database);
        writer.afterInsert = afterInsert;
        const int ready = now.readyCount();
        writer.reserveKeys(ready);
        TQuery row(&database);
        row.setSql(QStringLiteral("INSERT INTO IMPORTZEILEN (PRUEFUNGEN_ID, IMPORTSTAPEL_ID, PRUEFSUMME) VALUES (:P, :S, :SUMME)"));
        for (const TImportRow &r : now.rows) {
            if (!r.ready())
                continue;
            reportRows(progress, kImporting, result.imported, ready);
            const int id = writer.insert(inspectionOf(r, now.choice.instrumentId));
            row.paramByName(QStringLiteral("P")).setAsInteger(id);
            row.paramByName(QStringLiteral("S")).setAsInteger(result.batchId);
            row.paramByName(QStringLiteral("SUMME")).setAsString(writer.storedChecksum(id));
            row.execQuery();
            ++result.imported;
        }
        reportRows(progress, kImporting, ready, ready);
        return result;
    });
    // Many rows at once may change which index the engine picks; a few do not.
    const qint64 rows = imported.imported;
    recomputeIndexStatisticsAfterGrowth(database, {{QStringLiteral("PRUEFUNGEN"), rows},
                                                   {QStringLiteral("FINGERABDRUECKE"), rows},
                                                   {QStringLiteral("IMPORTZEILEN"), rows},
                                                   {QStringLiteral("IMPORTSTAPEL"), 1}});
    return imported;
}

QList<TImportBatch> importBatches(TDatabase &database)
{
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT s.ID, s.IMPORTIERT_AM, s.DATEINAME, s.SHA256, s.PROFIL, s.ZEILEN, r.NAME, s.RUECKGAENGIG_AM "
                            "FROM IMPORTSTAPEL s LEFT JOIN PRUEFER r ON r.ID = s.PRUEFER_ID ORDER BY s.IMPORTIERT_AM DESC, s.ID DESC"));
    QList<TImportBatch> batches;
    for (q.execQuery(); !q.eof(); q.next())
        batches << TImportBatch{static_cast<int>(q.asInteger(0)), q.asDateTime(1), q.asString(2), q.asString(3), q.asString(4),
                                static_cast<int>(q.asInteger(5)), q.asString(6), q.isNull(7) ? QDateTime() : q.asDateTime(7)};
    q.close();
    return batches;
}

QString undoRefusal(TDatabase &database, int batchId)
{
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT RUECKGAENGIG_AM, (SELECT COUNT(*) FROM IMPORTZEILEN z WHERE z.IMPORTSTAPEL_ID = s.ID) "
                            "FROM IMPORTSTAPEL s WHERE s.ID = :ID"));
    q.paramByName(QStringLiteral("ID")).setAsInteger(batchId);
    q.execQuery();
    if (q.eof())
        return QStringLiteral("Den Importstapel %1 gibt es nicht.").arg(batchId);
    if (!q.isNull(0))
        return QStringLiteral("Der Importstapel %1 wurde schon am %2 zurückgenommen.")
            .arg(batchId)
            .arg(q.asDateTime(0).toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    const qint64 recorded = q.asInteger(1);
    q.close();
    q.setSql(QStringLiteral("SELECT %1, z.PRUEFSUMME FROM PRUEFUNGEN p JOIN IMPORTZEILEN z ON z.PRUEFUNGEN_ID = p.ID "
                            "WHERE z.IMPORTSTAPEL_ID = :ID")
                 .arg(inspectionChecksumColumns(QStringLiteral("p."))));
    q.paramByName(QStringLiteral("ID")).setAsInteger(batchId);
    qint64 present = 0;
    qint64 changed = 0;
    for (q.execQuery(); !q.eof(); q.next()) {
        ++present;
        if (inspectionChecksum(q) != q.asString(q.columnCount() - 1))
            ++changed;
    }
    q.close();
    const qint64 deleted = recorded - present;
    if (changed == 0 && deleted == 0) {
        // A handed-over protocol is evidence: its inspection stays.
        q.setSql(QStringLiteral("SELECT PRUEFUNGEN_ID FROM IMPORTZEILEN WHERE IMPORTSTAPEL_ID = :ID"));
        q.paramByName(QStringLiteral("ID")).setAsInteger(batchId);
        qint64 closed = 0;
        for (q.execQuery(); !q.eof(); q.next())
            closed += isInspectionClosed(database, static_cast<int>(q.asInteger(0))) ? 1 : 0;
        if (closed == 0)
            return {};
        return QStringLiteral("Der Importstapel %1 kann nicht zurückgenommen werden: die Protokolle von %2 seiner Prüfungen "
                              "wurden schon gedruckt oder gespeichert.")
            .arg(batchId)
            .arg(closed);
    }
    return QStringLiteral("Der Importstapel %1 kann nicht zurückgenommen werden: seit dem Import wurden %2 seiner Prüfungen "
                          "geändert und %3 gelöscht. Diese Prüfungen bitte von Hand bearbeiten.")
        .arg(batchId)
        .arg(changed)
        .arg(deleted);
}

void undoBatch(TDatabase &database, int batchId)
{
    inOneTransaction(database, [&] {
        if (const QString refusal = undoRefusal(database, batchId); !refusal.isEmpty())
            throw EDatabaseError(refusal);
        TQuery q(&database);
        // Each deletion is written into the chain, as a deletion in the program is.
        q.setSql(QStringLiteral("SELECT PRUEFUNGEN_ID FROM IMPORTZEILEN WHERE IMPORTSTAPEL_ID = :ID"));
        q.paramByName(QStringLiteral("ID")).setAsInteger(batchId);
        QList<int> imported;
        for (q.execQuery(); !q.eof(); q.next())
            imported << static_cast<int>(q.asInteger(0));
        q.close();
        for (const int id : std::as_const(imported))
            fingerprintDeletion(database, id);
        // By key, each: "ID IN (subquery)" makes the engine walk every inspection.
        q.setSql(QStringLiteral("DELETE FROM PRUEFUNGEN WHERE ID = :ID"));
        for (const int id : std::as_const(imported)) {
            q.paramByName(QStringLiteral("ID")).setAsInteger(id);
            q.execQuery();
        }
        q.setSql(QStringLiteral("DELETE FROM IMPORTZEILEN WHERE IMPORTSTAPEL_ID = :ID"));
        q.paramByName(QStringLiteral("ID")).setAsInteger(batchId);
        q.execQuery();
        q.setSql(QStringLiteral("UPDATE IMPORTSTAPEL SET RUECKGAENGIG_AM = :AM WHERE ID = :ID"));
        q.paramByName(QStringLiteral("AM")).setAsDateTime(TClock::now());
        q.paramByName(QStringLiteral("ID")).setAsInteger(batchId);
        q.execQuery();
        return 0;
    });
}

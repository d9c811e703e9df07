#pragma once
// Writing a dry run's ready rows as one batch, listing the batches and
// taking a batch back.
#include "LongWork.h"
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

class TDatabase;
struct TDryRun;

struct TImportResult {
    int batchId = 0;  // 0 when nothing was ready
    int imported = 0;
};

// Imports the ready rows of the dry run in one transaction of the
// database's default transaction, recorded as a batch. The file is judged
// again first; when that gives other rows than the dry run showed, nothing
// is written and EDatabaseError says so. Any failure writes nothing.
// afterInsert runs for each inserted inspection (see TInspectionWriter).
// progress hears of every hundred rows written ("Prüfungen werden
// importiert: 1.200 von 5.000 Zeilen"); the import stays one transaction,
// so a stop at any report (EWorkCancelled) leaves nothing behind.
TImportResult importDryRun(TDatabase &database, const TDryRun &shown,
                           const std::function<void(TDatabase &, int)> &afterInsert = {}, const Progress &progress = {});

struct TImportBatch {
    int id = 0;
    QDateTime importedAt;
    QString fileName;
    QString sha256;
    QString profile;
    int rows = 0;
    QString inspector;
    QDateTime undoneAt; // invalid while the batch stands
};

// Every batch, newest first.
QList<TImportBatch> importBatches(TDatabase &database);

// Why the batch cannot be undone (German), or empty when it can: it was
// undone already, or an inspection of it was changed or deleted since.
QString undoRefusal(TDatabase &database, int batchId);
// Deletes the batch's inspections and marks it undone, in one transaction.
// Refuses with EDatabaseError (undoRefusal's text) when it cannot.
void undoBatch(TDatabase &database, int batchId);

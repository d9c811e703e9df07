#pragma once
// Closed inspections: once the protocol of an inspection has been printed
// or saved as PDF, a change keeps the earlier version with the reason of
// the correction, and the inspection cannot be deleted.
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class TDatabase;

bool isInspectionClosed(TDatabase &db, int pruefungId);
// Marks the inspections as closed (those already closed stay as they were),
// in the current transaction.
void closeInspections(TDatabase &db, const QList<int> &pruefungIds);
// Copies the inspection as it is stored now into PRUEFUNGEN_VERSIONEN, as
// the version the correction replaces.
void keepInspectionVersion(TDatabase &db, int pruefungId, const QString &reason);

struct TCorrection {
    int version = 1;  // of the inspection as it is now
    QDateTime at;     // of the latest correction
    QString reason;
};
// The latest correction of an inspection; nullopt when it was never corrected.
std::optional<TCorrection> latestCorrection(TDatabase &db, int pruefungId);

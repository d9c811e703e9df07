#pragma once
// The one way the import writes an inspection. Whatever must happen to each
// stored inspection (a fingerprint, an audit line) hooks in here.
#include "Decimal.h"
#include <QDateTime>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class TDatabase;
class TQuery;

struct TNewInspection {
    int deviceId = 0;
    int inspectorId = 0;
    int instrumentId = 0;
    QDateTime when;
    QDateTime next;
    bool visual = false;
    bool function = false;
    std::array<std::optional<TDecimal>, 5> values;
    std::array<std::optional<bool>, 5> passed;
    QString remark;
};

class TInspectionWriter {
public:
    explicit TInspectionWriter(TDatabase &database);
    ~TInspectionWriter();
    TInspectionWriter(const TInspectionWriter &) = delete;
    TInspectionWriter &operator=(const TInspectionWriter &) = delete;

    // Runs for every inspection right after it was inserted, inside the
    // same transaction; an exception from it undoes the whole import.
    std::function<void(TDatabase &, int inspectionId)> afterInsert;

    // Draws the keys of the next count inserts from SEQ_PRUEFUNGEN at once.
    void reserveKeys(int count);
    // Inserts the inspection with a key from SEQ_PRUEFUNGEN; returns the key.
    int insert(const TNewInspection &inspection);
    // The checksum of the stored row (hex SHA-256 over every column), which
    // changes with any edit of the inspection.
    QString storedChecksum(int inspectionId);

private:
    TDatabase &FDatabase;
    std::unique_ptr<TQuery> FKey, FInsert, FRead;
    qint64 FNextKey = 0, FLastKey = -1; // reserved and not yet used
};

// The columns the checksum covers, as a select list.
QString inspectionChecksumColumns(const QString &prefix = QString());
// The checksum over the current row of a query that selected
// inspectionChecksumColumns() first.
QString inspectionChecksum(const TQuery &query);

#pragma once
// The dry run: what an import of a file would do, row by row, computed
// without writing anything. The import itself writes exactly the rows this
// shows as ready.
#include "Decimal.h"
#include "ImportProfile.h"
#include "LongWork.h"
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QStringList>
#include <array>
#include <optional>

class TDatabase;
class TImportLookups;

enum class RowState {
    Ready,
    UnknownCustomer,
    UnknownDevice,
    AlreadyImported,
    NotANumber,
    DateMissing,
    DateInFuture,
    VerdictDiffers,
    TooFewColumns,
    Invalid,
    Count
};

inline constexpr int kRowStateCount = static_cast<int>(RowState::Count);

// The German name of a state as the table and the counts show it.
QString rowStateText(RowState state);

struct TImportRow {
    int line = 0; // in the file, from 1
    QStringList cells;
    RowState state = RowState::Ready;
    QStringList messages; // German, the first belongs to the state

    QString customerText; // as the file names the customer
    QString deviceNumber; // digits, from the number or the label payload
    int customerId = 0;
    int deviceId = 0;
    QString deviceText; // "Drucker Nr. 1 (Demo-Kunde)"
    QDateTime when;
    int inspectorId = 0;
    int nextInterval = 12; // the device's, for the next inspection date
    std::array<std::optional<TDecimal>, 5> values;
    std::array<std::optional<bool>, 5> passed; // our verdict per value taken
    bool visual = false;
    bool function = false;
    bool ourVerdict = false;
    bool judged = false; // every value and check read cleanly, so ourVerdict counts
    std::optional<bool> instrumentVerdict;
    QString remark;

    bool ready() const { return state == RowState::Ready; }
    QString message() const { return messages.join(QStringLiteral(" ")); }
};

// What the user chose for the rows that do not say it themselves.
struct TImportChoice {
    int inspectorId = 0;  // for rows without an inspector
    int instrumentId = 0; // the instrument every row was measured with
};

struct TDryRun {
    TImportProfile profile;
    QString fileName;
    QByteArray bytes;
    QByteArray sha256; // hex
    TImportChoice choice;
    QString fileError;  // the file cannot be read at all; no rows then
    QString fileNotice; // worth knowing, not in the way ("bereits importiert am …")
    QList<TImportRow> rows;

    int count(RowState state) const;
    int readyCount() const { return count(RowState::Ready); }
    // "12 bereit, 2 bereits importiert, 1 Wert keine Zahl"
    QString countsText() const;
    // Why rows are left out: the counts of every state but "bereit".
    QString leftOutText() const;
    // The counts of the states from first on, each that occurs.
    QString stateCounts(RowState first) const;
};

// Reads the file's bytes with the profile and judges every row against
// the database as it is now. Reads only, so progress may stop it at any
// report ("Export wird geprüft: 1.200 von 5.000 Zeilen").
TDryRun dryRunImport(TDatabase &database, const TImportProfile &profile, const QString &fileName, const QByteArray &bytes,
                     const TImportChoice &choice, const Progress &progress = {});
// The same, with lookups already read (the import re-checks inside its
// transaction).
TDryRun dryRunImport(const TImportLookups &lookups, const TImportProfile &profile, const QString &fileName,
                     const QByteArray &bytes, const TImportChoice &choice, const Progress &progress = {});

// Tells progress of row done of total, at the first, every hundredth and
// the last; text names what is done ("Export wird geprüft").
void reportRows(const Progress &progress, const QString &text, qint64 done, qint64 total);

// The first rows of a file split with the profile, for the profile
// dialog's preview; the file's fault instead when it cannot be read.
QList<QStringList> previewRows(const TImportProfile &profile, const QByteArray &bytes, int count, QString *error);

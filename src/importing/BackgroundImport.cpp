#include "BackgroundImport.h"
#include "OwnConnection.h"

const QString kDryRunCancelled =
    QStringLiteral("Die Prüfung des Exports wurde abgebrochen; es wurde nichts gelesen.");
const QString kImportCancelled = QStringLiteral("Der Import wurde abgebrochen; es wurde nichts importiert.");

namespace {

// A new snapshot, which sees what other connections committed. Nothing is
// pending: every change of the program commits at once.
void startAfresh(TTransaction &transaction)
{
    transaction.commit();
    transaction.start();
}

} // namespace

TDryRun dryRunInBackground(TDatabase &database, const TImportProfile &profile, const QString &fileName,
                           const QByteArray &bytes, const TImportChoice &choice)
{
    TDryRun run;
    runOnOwnConnection(database, QStringLiteral("Export prüfen"), true, [&](OwnConnection &own, const Progress &progress) {
        run = dryRunImport(own.db, profile, fileName, bytes, choice, progress);
    });
    return run;
}

TImportResult importInBackground(TDatabase &database, const TDryRun &shown)
{
    TImportResult result;
    try {
        const auto import = [&](OwnConnection &own, const Progress &progress) {
            result = importDryRun(own.db, shown, {}, progress);
            own.transaction.commit();
        };
        runOnOwnConnection(database, QStringLiteral("Messwerte importieren"), true, import);
    } catch (...) {
        // The rows may be committed when only the statistics afterwards failed.
        startAfresh(*database.defaultTransaction());
        throw;
    }
    startAfresh(*database.defaultTransaction());
    return result;
}

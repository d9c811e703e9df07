#include "BackgroundUpgrade.h"
#include "OwnConnection.h"
#include "SchemaVersion.h"
#include <exception>

const QString kUpgradeTitle = QStringLiteral("Datenbank aktualisieren");
const QString kUpgradeCancelled =
    QStringLiteral("Die Aktualisierung der Datenbank wurde abgebrochen. Die Datenbank ist in Ordnung, aber noch nicht "
                   "auf dem neuen Stand und wird deshalb nicht geöffnet. Beim nächsten Öffnen wird die Aktualisierung "
                   "dort fortgesetzt, wo sie aufgehört hat.");

MigrationProgress upgradeProgress(const Progress &progress)
{
    if (!progress)
        return {};
    return [progress](int done, int total) {
        progress(progressText(QStringLiteral("Datenbank wird aktualisiert"), done, total, QStringLiteral("Prüfungen")),
                 done, total);
    };
}

void upgradeOnOwnConnection(TDatabase &db)
{
    if (!upgradeDue(db)) // a current file costs no second connection
        return;
    db.close();
    std::exception_ptr failure;
    try {
        runOnOwnConnection(db, kUpgradeTitle, true, [](OwnConnection &own, const Progress &progress) {
            runMigrations(own.db, upgradeProgress(progress));
            own.transaction.commit();
        });
    } catch (const EWorkCancelled &) {
        throw;
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        db.open();
        db.defaultTransaction()->start();
    } catch (...) {
        if (!failure)
            throw;
    }
    if (failure)
        std::rethrow_exception(failure);
}

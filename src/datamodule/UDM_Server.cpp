// A database reached through a Firebird server: the login of the
// workstation's user, and the notices of other workstations' changes that
// re-read the lists.
#include "UDM.h"
#include "DatabaseEvents.h"
#include "Dialogs.h"
#include "NewDatabase.h"
#include "PasswordStore.h"
#include "ServerLogin.h"
#include "USettings.h"
#include "UpgradeChangeEvents.h"
#include <QTimer>

namespace {
// How long a notice waits for an edit to end before it looks again.
constexpr int kRetryWhileEditingMs = 500;
} // namespace

void TfrmDM::setServerLogin(const QString &databaseName, const TServerLogin &login)
{
    FServerLogin = std::make_unique<TServerLogin>(login);
    FServerLoginDatabase = databaseName;
}

void TfrmDM::forgetServerLogin() { FServerLogin.reset(); }

bool TfrmDM::prepareLogin(const QString &databaseName)
{
    if (!TDatabase::isServerName(databaseName)) {
        Database.params = connectionParams();
        return true;
    }
    if (FServerLogin && FServerLoginDatabase == databaseName) {
        Database.params = connectionParamsFor(databaseName, *FServerLogin);
        return true;
    }
    const QString user = FSettings->DBUser();
    if (user.isEmpty()) {
        dialogs().message(QStringLiteral("Für die Datenbank %1 auf dem Server ist kein Benutzer eingetragen "
                                         "(Datenbank → Öffnen).")
                              .arg(databaseName),
                          IDialogs::Icon::Error);
        return false;
    }
    std::optional<QString> password = readStoredPassword(databaseName, user);
    if (!password) {
        bool remember = false;
        password = dialogs().askPassword(passwordPrompt(databaseName, user), remember);
        if (!password)
            return false;
        if (remember && !storePassword(databaseName, user, *password))
            dialogs().message(keyringMissingText(), IDialogs::Icon::Warning);
    }
    setServerLogin(databaseName, TServerLogin{user, *password});
    Database.params = connectionParamsFor(databaseName, *FServerLogin);
    return true;
}

void TfrmDM::loginRefused(const QString &databaseName)
{
    // A wrong or changed password is asked for again, not tried every start.
    if (FServerLogin)
        forgetStoredPassword(databaseName, FServerLogin->user);
    FServerLogin.reset();
}

void TfrmDM::startChangeEvents()
{
    if (!Database.isServer())
        return;
    if (!FChangeEvents) {
        FChangeEvents = std::make_unique<TDatabaseEvents>(&Database, changeEventNames());
        connect(FChangeEvents.get(), &TDatabaseEvents::posted, this, &TfrmDM::changesPosted);
    }
    FChangeEvents->start();
}

bool TfrmDM::listensForChanges() const { return FChangeEvents && FChangeEvents->listening(); }

bool TfrmDM::anythingEditing()
{
    for (TDataSet *d : editableDataSets())
        if (d->editing())
            return true;
    return false;
}

void TfrmDM::changesPosted(const QStringList &events)
{
    for (const QString &e : events)
        if (!FPendingChanges.contains(e))
            FPendingChanges << e;
    applyPendingChanges();
}

void TfrmDM::applyPendingChanges()
{
    if (FPendingChanges.isEmpty() || !Database.connected())
        return;
    // An edit in progress keeps its rows; the lists follow when it ends.
    if (anythingEditing()) {
        QTimer::singleShot(kRetryWhileEditingMs, this, &TfrmDM::applyPendingChanges);
        return;
    }
    const bool customers = FPendingChanges.contains(kEventKunden);
    FPendingChanges.clear();
    if (customers && dsetKunden.active())
        dsetKunden.refresh();
    if (FMainView)
        FMainView->refreshLists(customers);
    else if (dsetPrueflinge.active())
        dsetPrueflinge.refresh();
}

#include "PasswordStore.h"
#include <QEventLoop>
#include <QTimer>
#include <memory>
#include <qt6keychain/keychain.h>

namespace {

constexpr int kKeyringWaitMs = 5000;

QString service() { return QStringLiteral("Velmora Prüfprotokolle"); }
QString keyOf(const QString &databaseName, const QString &user) { return user + u'@' + databaseName; }

struct Outcome {
    bool finished = false;
    bool ok = false;
    QString text;
};

// Runs a keyring job and waits for it; a keyring that does not answer in
// time counts as missing (the job cleans itself up later).
template <typename Job, typename Prepare> Outcome run(const QString &key, Prepare prepare)
{
    auto *job = new Job(service());
    job->setAutoDelete(true);
    job->setInsecureFallback(false); // never a plain-text file instead
    job->setKey(key);
    prepare(*job);
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [outcome, &loop](QKeychain::Job *done) {
        outcome->finished = true;
        outcome->ok = done->error() == QKeychain::NoError;
        if (auto *read = qobject_cast<QKeychain::ReadPasswordJob *>(done))
            outcome->text = read->textData();
        loop.quit();
    });
    QTimer::singleShot(kKeyringWaitMs, &loop, &QEventLoop::quit);
    job->start();
    if (!outcome->finished)
        loop.exec();
    return *outcome;
}

} // namespace

std::optional<QString> readStoredPassword(const QString &databaseName, const QString &user)
{
    const Outcome o = run<QKeychain::ReadPasswordJob>(keyOf(databaseName, user), [](auto &) {});
    if (!o.finished || !o.ok)
        return std::nullopt;
    return o.text;
}

bool storePassword(const QString &databaseName, const QString &user, const QString &password)
{
    const Outcome o = run<QKeychain::WritePasswordJob>(keyOf(databaseName, user),
                                                       [&](QKeychain::WritePasswordJob &job) { job.setTextData(password); });
    return o.finished && o.ok;
}

void forgetStoredPassword(const QString &databaseName, const QString &user)
{
    run<QKeychain::DeletePasswordJob>(keyOf(databaseName, user), [](auto &) {});
}

QString keyringMissingText()
{
    return QStringLiteral("Der Schlüsselbund des Desktops ist nicht erreichbar; das Kennwort wird beim nächsten Start "
                          "wieder erfragt.");
}

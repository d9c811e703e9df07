#include "TestDatabase.h"
#include "QtTranslations.h"
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <stdexcept>

QStringList TTestDatabase::connectionParams()
{
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=lindgrove"), QStringLiteral("lc_ctype=UTF8")};
}

QStringList TTestDatabase::createParams()
{
    return {QStringLiteral("/* CREATE DATABASE */"), QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'lindgrove'"),
            QStringLiteral("DEFAULT CHARACTER SET UTF8"), QStringLiteral("/* SQLdialect 3 */")};
}

TTestDatabase::TTestDatabase() : transaction(new TTransaction(&database, &database))
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    // A folder with an umlaut and a space, as users' folders have.
    QDir(m_dir.path()).mkdir(QStringLiteral("Prüf ordner"));
    path = m_dir.filePath(QStringLiteral("Prüf ordner/TEST.FDB"));
    database.setDatabaseName(path);
    database.params = createParams();
    database.createDatabase();
    database.close();
    database.params = connectionParams();
    database.open();
}

TTestDatabase::~TTestDatabase() { database.close(); }

void TTestDatabase::exec(const QString &sql)
{
    TQuery q(&database);
    q.setSql(sql);
    q.execQuery();
    q.close();
    transaction->commit();
}

qint64 TTestDatabase::scalar(const QString &sql)
{
    TQuery q(&database);
    q.setSql(sql);
    q.execQuery();
    const qint64 n = q.asInteger(0);
    q.close();
    return n;
}

void TTestDatabase::reconnect()
{
    database.close();
    database.open();
}

namespace {
QByteArray &originalCacheHomeSlot()
{
    static QByteArray folder;
    return folder;
}
} // namespace

QString originalCacheHome() { return QFile::decodeName(originalCacheHomeSlot()); }

void isolateHomes()
{
    static const bool isolated = [] {
        originalCacheHomeSlot() = qEnvironmentVariableIsEmpty("XDG_CACHE_HOME") ? qgetenv("HOME") + "/.cache"
                                                                                 : qgetenv("XDG_CACHE_HOME");
        static QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_DOCUMENTS_DIR"}) {
            const QString folder = home.filePath(QString::fromLatin1(name).toLower());
            QDir().mkpath(folder);
            qputenv(name, QFile::encodeName(folder));
        }
        return true;
    }();
    Q_UNUSED(isolated);
}

namespace {
// Before main: Qt fixes the settings file's place on its first use, and a
// test may use it before it calls anything of this file.
[[maybe_unused]] const bool homesIsolatedAtStart = (isolateHomes(), true);
} // namespace

void prepareTestEnvironment()
{
    isolateHomes();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    installGermanQtTranslations(); // as the program's application object does
    QStandardPaths::setTestModeEnabled(false);
}

#include "TestDatabase.h"
#include "QtTranslations.h"
#include <QDir>
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

void prepareTestEnvironment()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    installGermanQtTranslations(); // as the program's application object does
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_DOCUMENTS_DIR", (home.path() + QStringLiteral("/documents")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(false);
}

#include "UUpdateDB.h"
#include "Database.h"
#include "Query.h"
#include "UpgradeFingerprints.h"
#include "UpgradeChangeEvents.h"

TUpdateDB::TUpdateDB(TDatabase *database) { setDatabase(database); }

TUpdateDB::~TUpdateDB() = default;

void TUpdateDB::setDatabase(TDatabase *database)
{
    FQuery.reset();
    FDatabase = database;
    FQuery = std::make_unique<TQuery>(database);
    FQuery->autoStartTransaction = true;
    FQuery->autoCommit = true;
}

bool TUpdateDB::FieldExists(const QString &tablename, const QString &fieldname)
{
    FQuery->setSql(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$SYSTEM_FLAG=0 AND "
                                  "RDB$RELATION_NAME =:tablename AND RDB$FIELD_NAME =:fieldname"));
    FQuery->paramByName(QStringLiteral("tablename")).setAsString(tablename.toUpper());
    FQuery->paramByName(QStringLiteral("fieldname")).setAsString(fieldname.toUpper());
    FQuery->execQuery();
    const bool exists = FQuery->asInteger(0) > 0;
    FQuery->close();
    return exists;
}

bool TUpdateDB::TableExists(const QString &tablename)
{
    FQuery->setSql(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG=0 AND "
                                  "RDB$RELATION_NAME =:tablename"));
    FQuery->paramByName(QStringLiteral("tablename")).setAsString(tablename.toUpper());
    FQuery->execQuery();
    const bool exists = FQuery->asInteger(0) > 0;
    FQuery->close();
    return exists;
}

void TUpdateDB::ExecUpdate(const QString &statement)
{
    FDatabase->defaultTransaction()->start();
    FQuery->setSql(statement);
    FQuery->execQuery();
    FQuery->close();
}

void TUpdateDB::CheckAndUpdate()
{
    if (!FieldExists(QStringLiteral("GRENZWERTE"), QStringLiteral("WERT_I"))) {
        ExecUpdate(QStringLiteral("ALTER TABLE GRENZWERTE ADD WERT_I DECIMAL (18,4); "));
        ExecUpdate(QStringLiteral("UPDATE GRENZWERTE SET WERT_I = WERT; "));
        ExecUpdate(QStringLiteral("UPDATE GRENZWERTE SET WERT_I = 3.5 WHERE ID = 2; "));
    }
    // The contractor's logo on the reports: an image file's bytes, or null.
    if (!FieldExists(QStringLiteral("AUFTRAGNEHMER"), QStringLiteral("LOGO")))
        ExecUpdate(QStringLiteral("ALTER TABLE AUFTRAGNEHMER ADD LOGO BLOB SUB_TYPE 0"));
    addContractorShortName();
    upgradeFingerprints(*FDatabase);
    UpgradeImportTables();
    addChangeEventTriggers(*FDatabase);
}

qint64 TUpdateDB::countOf(const QString &sql, const QString &name)
{
    FQuery->setSql(sql);
    FQuery->paramByName(QStringLiteral("name")).setAsString(name.toUpper());
    FQuery->execQuery();
    const qint64 count = FQuery->asInteger(0);
    FQuery->close();
    return count;
}

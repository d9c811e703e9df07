#include "FirmDatabase.h"
#include "Database.h"
#include "NewDatabase.h"
#include "Query.h"
#include <QDir>
#include <QFileInfo>

namespace {

void insertRow(TDatabase &connection, const QString &sql, const QStringList &values)
{
    TQuery query(&connection);
    query.setSql(sql);
    for (int i = 0; i < values.size(); ++i)
        query.param(i).setAsString(values.at(i));
    query.execQuery();
    query.close();
}

} // namespace

void createFirmDatabase(TDatabase &connection, const QString &path, const FirmStart &start)
{
    // The proposed folder (the shared documents folder) may not exist yet.
    QDir().mkpath(QFileInfo(path).absolutePath());
    createEmptyDatabase(connection, path, [&start](TDatabase &db) {
        TTransaction *transaction = db.defaultTransaction();
        transaction->start();
        insertRow(db, QStringLiteral("INSERT INTO AUFTRAGNEHMER (ID, NAME) VALUES (1, :NAME)"), {start.firm.trimmed()});
        insertRow(db, QStringLiteral("INSERT INTO PRUEFER (ID, NAME) VALUES (GEN_ID(SEQ_PRUEFER, 1), :NAME)"), {start.inspector.trimmed()});
        insertRow(db,
                  QStringLiteral("INSERT INTO PRUEFGERAETE (ID, NAME, BEZEICHNUNG, SERIENNUMMER) "
                                 "VALUES (GEN_ID(SEQ_PRUEFGERAETE, 1), :NAME, :BEZEICHNUNG, :SERIENNUMMER)"),
                  {start.instrument.trimmed(), start.instrumentType.trimmed(), start.serialNumber.trimmed()});
        transaction->commit();
    });
}

bool databaseFileMissing(const QString &path)
{
    if (TDatabase::isServerName(path))
        return false;
    return path.trimmed().isEmpty() || !QFileInfo::exists(path);
}

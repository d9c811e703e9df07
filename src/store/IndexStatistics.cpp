#include "IndexStatistics.h"
#include "Database.h"
#include "Query.h"
#include "SchemaVersion.h"
#include <QStringList>

namespace {

// SET STATISTICS for the named indexes; stops at the first one this login
// may not alter (the owner's work; the failed statement changed nothing).
int recompute(TDatabase &db, const QStringList &names)
{
    TQuery q(&db);
    int done = 0;
    for (const QString &name : names) {
        q.setSql(QStringLiteral("SET STATISTICS INDEX \"%1\"").arg(QString(name).replace(u'"', QStringLiteral("\"\""))));
        try {
            q.execQuery();
        } catch (const EDatabaseError &e) {
            if (!lacksPrivilege(e))
                throw;
            break;
        }
        q.close();
        ++done;
    }
    return done;
}

// The active indexes of the file's own tables, or of one table.
QStringList indexNames(TDatabase &db, const QString &table = {})
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                            "AND COALESCE(RDB$INDEX_INACTIVE, 0) = 0") +
             (table.isEmpty() ? QString() : QStringLiteral(" AND RDB$RELATION_NAME = :TABELLE")) +
             QStringLiteral(" ORDER BY RDB$INDEX_NAME"));
    if (!table.isEmpty())
        q.paramByName(QStringLiteral("TABELLE")).setAsString(table);
    QStringList names;
    for (q.execQuery(); !q.eof(); q.next())
        names << q.asString(0);
    return names;
}

// How many rows the table's primary key counted when its statistics were
// last computed (its selectivity is one over them); 0 when never.
double rowsCounted(TDatabase &db, const QString &table)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT i.RDB$STATISTICS FROM RDB$RELATION_CONSTRAINTS c JOIN RDB$INDICES i ON "
                            "i.RDB$INDEX_NAME = c.RDB$INDEX_NAME WHERE c.RDB$RELATION_NAME = :TABELLE AND "
                            "c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'"));
    q.paramByName(QStringLiteral("TABELLE")).setAsString(table);
    q.execQuery();
    const double *selectivity = q.eof() ? nullptr : std::get_if<double>(&q.value(0));
    return selectivity && *selectivity > 0 ? 1.0 / *selectivity : 0.0;
}

// Runs in the default transaction and commits it retaining: the engine
// computes the statistics at the commit.
template <typename Work>
int inDefaultTransaction(TDatabase &db, Work work)
{
    TTransaction *t = db.defaultTransaction();
    t->start();
    const int done = work();
    t->commitRetaining();
    return done;
}

} // namespace

int recomputeIndexStatistics(TDatabase &db)
{
    return inDefaultTransaction(db, [&] { return recompute(db, indexNames(db)); });
}

int recomputeIndexStatisticsAfterGrowth(TDatabase &db, const QList<TTableGrowth> &grown)
{
    return inDefaultTransaction(db, [&] {
        int done = 0;
        for (const TTableGrowth &g : grown) {
            const double counted = rowsCounted(db, g.table);
            if (counted > 0 && g.rowsAdded * 10 < counted)
                continue;
            done += recompute(db, indexNames(db, g.table));
        }
        return done;
    });
}

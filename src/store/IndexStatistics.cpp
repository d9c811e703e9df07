#include "IndexStatistics.h"
#include "Database.h"
#include "Query.h"
#include "SchemaVersion.h"
#include <QStringList>

int recomputeIndexStatistics(TDatabase &db)
{
    TTransaction *t = db.defaultTransaction();
    t->start();
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                            "AND COALESCE(RDB$INDEX_INACTIVE, 0) = 0 ORDER BY RDB$INDEX_NAME"));
    QStringList names;
    for (q.execQuery(); !q.eof(); q.next())
        names << q.asString(0);
    q.close();
    int done = 0;
    for (const QString &name : std::as_const(names)) {
        q.setSql(QStringLiteral("SET STATISTICS INDEX \"%1\"").arg(QString(name).replace(u'"', QStringLiteral("\"\""))));
        try {
            q.execQuery();
        } catch (const EDatabaseError &e) {
            if (!lacksPrivilege(e))
                throw;
            break; // the owner's work; the failed statement changed nothing
        }
        q.close();
        ++done;
    }
    t->commitRetaining();
    return done;
}

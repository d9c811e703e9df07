#include "RowsRead.h"
#include "Database.h"
#include "FbApi.h"
#include "Query.h"
#include <QSet>
#include <ibase.h>

using namespace Firebird;

namespace {

QSet<int> relationIds(TDatabase &db, const QStringList &tables)
{
    QSet<int> ids;
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT RDB$RELATION_ID FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :NAME"));
    for (const QString &table : tables) {
        q.paramByName(QStringLiteral("NAME")).setAsString(table);
        q.execQuery();
        if (!q.eof())
            ids.insert(static_cast<int>(q.asInteger(0)));
        q.close();
    }
    return ids;
}

int number(const unsigned char *p, short length)
{
    return static_cast<int>(isc_vax_integer(reinterpret_cast<const char *>(p), length));
}

} // namespace

qint64 rowsRead(TDatabase &db, const QStringList &tables)
{
    const QSet<int> ids = relationIds(db, tables);
    const unsigned char items[] = {isc_info_read_seq_count, isc_info_read_idx_count, isc_info_end};
    unsigned char buffer[32768] = {};
    fb::Status status;
    fb::guarded([&] { db.attachment()->getInfo(&status, sizeof(items), items, sizeof(buffer), buffer); });
    // Each item: its tag, a length of two bytes, then per table its number
    // (two bytes) and its count (four bytes: one connection's counts in a
    // test stay far below 2^31, where the engine would switch to eight).
    qint64 total = 0;
    const unsigned char *p = buffer;
    const unsigned char *end = buffer + sizeof(buffer);
    while (p + 3 <= end && *p != isc_info_end && *p != isc_info_truncated) {
        const int length = number(p + 1, 2);
        const unsigned char *entry = p + 3;
        const unsigned char *entriesEnd = entry + length;
        for (; entry + 6 <= entriesEnd; entry += 6)
            if (ids.contains(number(entry, 2)))
                total += number(entry + 2, 4);
        p = entriesEnd;
    }
    return total;
}

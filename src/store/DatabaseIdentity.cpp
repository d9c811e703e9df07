#include "DatabaseIdentity.h"
#include "Database.h"
#include "Query.h"
#include "SchemaObjects.h"
#include <QRandomGenerator>

QString newDatabaseIdentity()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    QString text;
    for (const quint32 w : words)
        text += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return text;
}

std::optional<QString> storedDatabaseIdentity(TDatabase &db)
{
    if (!schemaObjectExists(db, SchemaObject::Table, QStringLiteral("DATENBANK_KENNUNG")))
        return std::nullopt;
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT KENNUNG FROM DATENBANK_KENNUNG WHERE ID = 1"));
    q.execQuery();
    if (q.eof())
        return std::nullopt;
    const QString identity = q.asString(0).trimmed();
    q.close();
    return identity;
}

QString shortDatabaseIdentity(const QString &identity) { return identity.left(8); }

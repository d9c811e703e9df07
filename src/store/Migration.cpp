#include "Migration.h"
#include "Database.h"
#include "FbApi.h"
#include "Query.h"

void MigrationStep::exec(const QString &statement)
{
    TQuery q(&m_db);
    q.setSql(statement);
    q.execQuery();
    q.close();
}

void MigrationStep::execModule(const QString &statement)
{
    TTransaction *t = m_db.defaultTransaction();
    t->start();
    const QByteArray text = statement.toUtf8();
    fb::Status status;
    fb::guarded([&] {
        m_db.attachment()->execute(&status, t->handle(), 0, text.constData(), static_cast<unsigned>(m_db.sqlDialect),
                                   nullptr, nullptr, nullptr, nullptr);
    });
}

void MigrationStep::addModule(SchemaObject kind, const QString &name, const QString &statement)
{
    if (!schemaObjectExists(m_db, kind, name))
        execModule(statement);
}

void MigrationStep::add(SchemaObject kind, const QString &name, const QString &statement, const QString &table)
{
    if (!schemaObjectExists(m_db, kind, name, table))
        exec(statement);
}

void MigrationStep::commitPart()
{
    TTransaction *t = m_db.defaultTransaction();
    t->commit();
    t->start();
    if (afterPartialCommit)
        afterPartialCommit(m_migration, 0);
}

void MigrationStep::commitChunk(int rowsDone, int rowsTotal)
{
    m_db.defaultTransaction()->commitRetaining();
    reportRows(rowsDone, rowsTotal);
    if (afterPartialCommit)
        afterPartialCommit(m_migration, rowsDone);
}

void MigrationStep::reportRows(int rowsDone, int rowsTotal)
{
    if (m_progress)
        m_progress(rowsDone, rowsTotal);
}

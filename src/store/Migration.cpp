#include "Migration.h"
#include "Database.h"
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
    t->execute(statement.toUtf8().constData());
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

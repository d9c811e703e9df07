#include "StatementPlan.h"
#include "Database.h"
#include "FbApi.h"
#include "ConnectionText.h"

using namespace Firebird;

namespace {

QString plan(TDatabase &db, const QString &sql, bool explained)
{
    TTransaction *t = db.defaultTransaction();
    t->start();
    const QByteArray text = connectionText::encode(sql);
    fb::Status status;
    return fb::guarded([&] {
        IStatement *statement = db.attachment()->prepare(&status, t->handle(), 0, text.constData(),
                                                         static_cast<unsigned>(db.sqlDialect),
                                                         explained ? IStatement::PREPARE_PREFETCH_DETAILED_PLAN
                                                                  : IStatement::PREPARE_PREFETCH_LEGACY_PLAN);
        QString result;
        try {
            result = QString::fromUtf8(statement->getPlan(&status, explained)).trimmed();
        } catch (...) {
            statement->release();
            throw;
        }
        statement->free(&status);
        return result;
    });
}

} // namespace

QString statementPlan(TDatabase &db, const QString &sql) { return plan(db, sql, false); }

QString explainedStatementPlan(TDatabase &db, const QString &sql) { return plan(db, sql, true); }

#include "StatementPlan.h"
#include "Database.h"
#include "FbApi.h"
#include "ConnectionText.h"

using namespace Firebird;

QString statementPlan(TDatabase &db, const QString &sql)
{
    TTransaction *t = db.defaultTransaction();
    t->start();
    const QByteArray text = connectionText::encode(sql);
    fb::Status status;
    return fb::guarded([&] {
        IStatement *statement = db.attachment()->prepare(&status, t->handle(), 0, text.constData(),
                                                         static_cast<unsigned>(db.sqlDialect),
                                                         IStatement::PREPARE_PREFETCH_LEGACY_PLAN);
        QString plan;
        try {
            plan = QString::fromUtf8(statement->getPlan(&status, false)).trimmed();
        } catch (...) {
            statement->release();
            throw;
        }
        statement->free(&status);
        return plan;
    });
}

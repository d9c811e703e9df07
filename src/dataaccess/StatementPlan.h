#pragma once
#include <QString>

class TDatabase;

// The engine's plan for a statement, as "PLAN (T ORDER I)" or "PLAN SORT
// (T NATURAL)": how it would read the rows, to confirm that a query uses
// its index. The statement is prepared in the default transaction (started
// when not active) and never run.
QString statementPlan(TDatabase &db, const QString &sql);
// The engine's explained plan: one line per step, indented under the step it
// feeds, naming each table ("Table \"PRUEFUNGEN\" as \"Q\" Full Scan") where
// the short plan names only aliases.
QString explainedStatementPlan(TDatabase &db, const QString &sql);

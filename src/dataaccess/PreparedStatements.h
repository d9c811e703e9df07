#pragma once
#include <QStringList>

// Records the text of every statement a query prepares while it lives (named
// parameters already turned into "?"), so that a test can walk the program
// and then read each statement's plan. One recording at a time; any thread.
class PreparedStatements {
public:
    PreparedStatements();
    ~PreparedStatements();
    PreparedStatements(const PreparedStatements &) = delete;
    PreparedStatements &operator=(const PreparedStatements &) = delete;

    // Each text once, in the order first prepared.
    QStringList texts() const;

    // Called by the query layer at each prepare.
    static void note(const QString &text);
};

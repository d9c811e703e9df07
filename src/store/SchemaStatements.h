#pragma once
#include <QList>
#include <QPair>
#include <QStringList>

// The twenty creation statements of a database file, in order.
const QStringList &schemaStatements();
// Each sequence and the value it restarts with right after its creation.
const QList<QPair<QString, qint64>> &sequenceStarts();

#pragma once
#include "DueDates.h"
#include <QDate>
#include <QList>
#include <QString>

// The due list as CSV the way German spreadsheets read it: UTF-8 with a byte
// order mark, a header row, ";" between cells, CRLF after each row.
QString dueListCsv(const QList<TDueDevice> &devices, const QDate &today);

// One cell: quoted when it holds a separator, quote or line break; a text
// that a spreadsheet would take for a formula starts with "'".
QString csvCell(const QString &text);

#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// One record of a delimited text: its cells and the line it starts on.
struct TTextRecord {
    int line = 0;
    QStringList cells;
};

struct TSplitText {
    QList<TTextRecord> records; // blank lines are left out
    // The last record is cut off: the text ends inside quotes, or without
    // a line end. Either may mean the export was not finished.
    bool endsInsideQuotes = false;
    bool endsWithoutLineEnd = false;
};

// Splits text into records and cells. A line ends with CR LF, LF or CR,
// mixed freely. A quoted cell may hold the separator, line ends and doubled
// quote characters. Cells are kept as written, without trimming.
TSplitText splitDelimited(const QString &text, QChar separator, QChar quote);

#include "DelimitedText.h"

namespace {

bool isBlank(const TTextRecord &record)
{
    for (const QString &cell : record.cells)
        if (!cell.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

TSplitText splitDelimited(const QString &text, QChar separator, QChar quote)
{
    TSplitText result;
    TTextRecord record{1, {}};
    QString cell;
    bool quoted = false;
    bool recordOpen = false;
    int line = 1;
    const auto endRecord = [&] {
        record.cells << cell;
        if (!isBlank(record))
            result.records << record;
        record = TTextRecord{line, {}};
        cell.clear();
        recordOpen = false;
    };
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == quote) {
                if (i + 1 < size && text.at(i + 1) == quote) {
                    cell += quote;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < size && text.at(i + 1) == u'\n')))
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
            ++line;
            endRecord();
            continue;
        }
        recordOpen = true;
        if (c == quote && cell.trimmed().isEmpty()) {
            cell.clear();
            quoted = true;
        } else if (c == separator) {
            record.cells << cell;
            cell.clear();
        } else {
            cell += c;
        }
    }
    result.endsInsideQuotes = quoted;
    if (recordOpen || quoted) {
        result.endsWithoutLineEnd = true;
        endRecord();
    }
    return result;
}

#include "EditKeys.h"
#include <QKeyEvent>
#include <QKeySequence>

namespace dbcontrols {

bool isEditingKey(const QKeyEvent *event, bool multiLine)
{
    for (const QKeySequence::StandardKey key :
         {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord, QKeySequence::DeleteEndOfLine,
          QKeySequence::DeleteCompleteLine, QKeySequence::Backspace, QKeySequence::Delete}) {
        if (event->matches(key))
            return true;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return multiLine;
    default:
        break;
    }
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace dbcontrols

#pragma once

class QKeyEvent;

namespace dbcontrols {
// Whether a key press would change the text of an input box: printable
// characters, deleting keys, cut, paste, undo and redo; Return and Enter
// only in a box of several lines.
bool isEditingKey(const QKeyEvent *event, bool multiLine);
} // namespace dbcontrols

#pragma once
// How a business rule refuses: the beep, its warning through the dialog seam,
// then the silent abort, which puts a changed field's old value back and
// keeps the record in editing.
#include <QString>

class TField;

[[noreturn]] void refuse(const QString &message);
// A measured value or a length below zero is refused with the message.
void refuseNegative(const TField &field, const QString &message);

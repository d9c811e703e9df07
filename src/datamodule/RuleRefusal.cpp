#include "RuleRefusal.h"
#include "DbError.h"
#include "Dialogs.h"
#include "Field.h"

void refuse(const QString &message)
{
    dialogs().beep();
    dialogs().message(message, IDialogs::Icon::Warning);
    abortSilently();
}

void refuseNegative(const TField &field, const QString &message)
{
    if (!field.isNull() && field.asDecimal() < TDecimal(0, 0))
        refuse(message);
}

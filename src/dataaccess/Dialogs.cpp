#include "Dialogs.h"
#include "DbError.h"

namespace {
IDialogs *g_dialogs = nullptr;
}

QString IDialogs::defaultCaption(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QStringLiteral("Informationen");
    case Icon::Warning: return QStringLiteral("Warnung");
    case Icon::Error: return QStringLiteral("Fehler");
    case Icon::Question: return QStringLiteral("Bestätigen");
    }
    return {};
}

IDialogs &dialogs()
{
    if (!g_dialogs)
        throw std::logic_error("no dialog implementation installed");
    return *g_dialogs;
}

IDialogs *setDialogs(IDialogs *dialogs)
{
    IDialogs *previous = g_dialogs;
    g_dialogs = dialogs;
    return previous;
}

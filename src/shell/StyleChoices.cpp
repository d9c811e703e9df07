#include "StyleChoices.h"
#include <QStringList>

namespace {

bool sameKey(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString nameOf(const QString &key, bool onWindows)
{
    if (sameKey(key, QStringLiteral("Windows")))
        return onWindows ? QStringLiteral("Windows klassisch") : QStringLiteral("Klassisch");
    if (!onWindows && sameKey(key, QStringLiteral("Fusion")))
        return QStringLiteral("Modern");
    return key;
}

} // namespace

QList<TStyleChoice> styleChoices(const QString &startupStyle, const QStringList &available, bool onWindows)
{
    QList<TStyleChoice> choices = {{onWindows ? QStringLiteral("Windows") : QStringLiteral("Systemstandard"), startupStyle}};
    for (const QString &key : available) {
        if (!sameKey(key, startupStyle))
            choices.append({nameOf(key, onWindows), key});
    }
    return choices;
}

int storedStyleIndex(const QList<TStyleChoice> &choices, const QString &stored)
{
    for (int i = 0; i < choices.size(); ++i)
        if (choices.at(i).name == stored)
            return i;
    if (stored == u"Windows")
        return 0;
    if (stored == u"Windows klassisch")
        for (int i = 1; i < choices.size(); ++i)
            if (sameKey(choices.at(i).key, QStringLiteral("Windows")))
                return i;
    return -1;
}

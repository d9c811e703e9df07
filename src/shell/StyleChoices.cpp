#include "StyleChoices.h"
#include <QStringList>

QList<TStyleChoice> styleChoices(const QString &startupStyle, const QStringList &available)
{
    const QString windows = QStringLiteral("Windows");
    QList<TStyleChoice> choices = {{windows, startupStyle}};
    for (const QString &key : available) {
        if (key.compare(startupStyle, Qt::CaseInsensitive) == 0)
            continue;
        const bool classic = key.compare(windows, Qt::CaseInsensitive) == 0;
        choices.append({classic ? QStringLiteral("Windows klassisch") : key, key});
    }
    return choices;
}

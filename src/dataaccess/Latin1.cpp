#include "Latin1.h"
#include "DbError.h"

namespace latin1 {

QChar firstUnencodable(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return c;
    return QChar();
}

void ensureEncodable(const QString &text)
{
    const QChar bad = firstUnencodable(text);
    if (!bad.isNull())
        throw EDatabaseError(QStringLiteral("Das Zeichen \u201E%1\u201C kann nicht gespeichert werden: "
                                            "Die Datenbank kennt nur die Zeichen des westeuropäischen "
                                            "Zeichensatzes (ISO 8859-1).").arg(bad));
}

QByteArray encode(const QString &text)
{
    ensureEncodable(text);
    return text.toLatin1();
}

} // namespace latin1

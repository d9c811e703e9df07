#include "DeviceTexts.h"

QString deviceTextsSql(const QString &column)
{
    // The key (FELD, TEXT) gives the order; the index on the column makes
    // the test for a device that still carries the text one lookup.
    return QStringLiteral("SELECT t.TEXT FROM PRUEFLING_TEXTE t WHERE t.FELD = '%1' AND t.TEXT <> '' AND EXISTS "
                          "(SELECT 1 FROM PRUEFLINGE p WHERE p.%1 = t.TEXT) ORDER BY t.FELD, t.TEXT")
        .arg(column);
}

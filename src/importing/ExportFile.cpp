#include "ExportFile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

TExportFile readExportFile(const QString &path, qint64 maxBytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return {{}, QStringLiteral("%1 ist keine gewöhnliche Datei und kann nicht importiert werden.").arg(shown)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(shown, file.errorString())};
    if (maxBytes < 0 && file.size() > kLargestExportBytes)
        return {{},
                QStringLiteral("Die Datei %1 ist %2 MB groß; der Export eines Prüfgeräts ist höchstens %3 MB groß. "
                               "Bitte die richtige Datei wählen.")
                    .arg(shown, QLocale().toString(file.size() / (1024 * 1024)), QString::number(kLargestExportBytes / (1024 * 1024)))};
    QByteArray bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(shown, file.errorString())};
    return {std::move(bytes), {}};
}

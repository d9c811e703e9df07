#include "PdfText.h"
#include <QProcess>

std::optional<QString> pdfText(const QString &path, QString *failure)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForStarted()) {
        *failure = QStringLiteral("Das Programm pdftotext (Paket poppler-utils) fehlt.");
        return std::nullopt;
    }
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *failure = QStringLiteral("Der Text von %1 kann nicht gelesen werden: %2")
                       .arg(path, QString::fromUtf8(p.readAllStandardError()).trimmed());
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

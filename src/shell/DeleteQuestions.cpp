#include "DeleteQuestions.h"
#include "DataSet.h"
#include <QLocale>

namespace {

QString deviceName(const TDataSet &devices)
{
    const QString name = devices.fieldByName(QStringLiteral("BEZEICHNUNG"))->displayText().trimmed();
    const QString number = devices.fieldByName(QStringLiteral("NUMMER"))->displayText().trimmed();
    QString text = name.isEmpty() ? QStringLiteral("ohne Bezeichnung") : QStringLiteral("„%1“").arg(name);
    if (!number.isEmpty())
        text += QStringLiteral(", Nummer ") + number;
    return text;
}

QString question(const QString &what) { return QStringLiteral("Datensatz löschen?\n\n") + what; }

} // namespace

QString deviceDeleteQuestion(const TDataSet &devices)
{
    return question(QStringLiteral("Prüfling ") + deviceName(devices) + QStringLiteral(" mit allen seinen Prüfungen"));
}

QString inspectionDeleteQuestion(const TDataSet &inspections, const TDataSet &devices)
{
    const QDateTime date = inspections.fieldByName(QStringLiteral("PRUEFDATUM"))->asDateTime();
    return question(QStringLiteral("Prüfung vom %1 des Prüflings %2")
                        .arg(QLocale().toString(date, QStringLiteral("dd.MM.yyyy HH:mm")), deviceName(devices)));
}

#include "ImportCells.h"
#include <QRegularExpression>

namespace {

QString quoted(const QString &text) { return QStringLiteral("„%1“").arg(text); }

QString normalizedCheck(const QString &cell)
{
    QString text = cell.trimmed().toLower();
    text.remove(u' ');
    text.remove(u'.');
    return text;
}

} // namespace

TCellNumber parseMeasuredValue(const QString &cell, bool decimalComma, const QString &label)
{
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return {};
    const QChar decimal = decimalComma ? u',' : u'.';
    const QChar other = decimalComma ? u'.' : u',';
    static const QRegularExpression number(QStringLiteral("^-?\\d{1,13}([.,]\\d{1,8})?$"));
    const auto refuse = [&](const QString &why) {
        return TCellNumber{std::nullopt, QStringLiteral("%1: %2 %3").arg(label, quoted(text), why)};
    };
    if (!number.match(text).hasMatch()) {
        static const QRegularExpression numberThenMore(QStringLiteral("^-?\\d+([.,]\\d+)?\\s*[^\\d.,\\s]\\S*$"));
        if (numberThenMore.match(text).hasMatch())
            return refuse(QStringLiteral("ist keine reine Zahl (Einheit oder Zeichen angehängt?). "
                                         "Werte werden nicht zurechtgelegt."));
        return refuse(QStringLiteral("ist keine Zahl."));
    }
    if (text.contains(other))
        return refuse(QStringLiteral("hat %1 als Dezimalzeichen, das Profil erwartet %2.")
                          .arg(quoted(QString(other)), quoted(QString(decimal))));
    if (text.startsWith(u'-'))
        return refuse(QStringLiteral("ist negativ; ein Messwert ist nie kleiner als null."));
    QString plain = text;
    plain.replace(decimal, u'.');
    const auto value = TDecimal::parse(plain, 4, QLocale::c());
    if (!value)
        return refuse(QStringLiteral("ist keine Zahl."));
    return {value, {}};
}

TCellCheck parseCheck(const QString &cell, const QString &label)
{
    static const QStringList passed = {"bestanden", "io", "ok", "ja", "j", "1", "pass", "passed", "yes", "y", "gut", "+", "true"};
    static const QStringList failed = {"nichtbestanden", "nio", "fehler", "nein", "n", "0", "fail", "failed", "no", "-",
                                       "false", "nok"};
    const QString text = normalizedCheck(cell);
    if (text.isEmpty())
        return {};
    if (passed.contains(text))
        return {true, {}};
    if (failed.contains(text))
        return {false, {}};
    return {std::nullopt,
            QStringLiteral("%1: %2 heißt weder bestanden noch nicht bestanden.").arg(label, quoted(cell.trimmed()))};
}

std::optional<QString> parseDeviceNumber(const QString &cell)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,18}$"));
    const QString text = cell.trimmed();
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    return QString::number(text.toLongLong());
}

TCellDateTime parseDateTime(const QString &dateCell, const std::optional<QString> &timeCell, const QString &dateFormat,
                            const QString &timeFormat)
{
    const QString dateText = dateCell.trimmed();
    if (dateText.isEmpty())
        return {{}, QStringLiteral("Das Datum fehlt."), true};
    const QString timeText = timeCell ? timeCell->trimmed() : QString();
    if (timeCell && timeText.isEmpty())
        return {{}, QStringLiteral("Die Uhrzeit fehlt."), true};
    QDateTime value;
    if (timeCell) {
        const QDate date = QDate::fromString(dateText, dateFormat);
        const QTime time = QTime::fromString(timeText, timeFormat);
        if (!date.isValid())
            return {{}, QStringLiteral("Datum „%1“ passt nicht zum Format %2.").arg(dateText, dateFormat)};
        if (!time.isValid())
            return {{}, QStringLiteral("Uhrzeit „%1“ passt nicht zum Format %2.").arg(timeText, timeFormat)};
        value = QDateTime(date, time);
    } else if (timeFormat.trimmed().isEmpty()) {
        const QDate date = QDate::fromString(dateText, dateFormat);
        if (date.isValid())
            value = QDateTime(date, QTime(0, 0));
    } else {
        value = QDateTime::fromString(dateText, dateFormat + u' ' + timeFormat);
    }
    if (!value.isValid()) {
        const QString format = timeCell || timeFormat.trimmed().isEmpty() ? dateFormat : dateFormat + u' ' + timeFormat;
        return {{}, QStringLiteral("Datum „%1“ passt nicht zum Format %2.").arg(dateText, format)};
    }
    return {value, {}};
}

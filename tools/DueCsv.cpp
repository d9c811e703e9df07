#include "DueCsv.h"

QString csvCell(const QString &text)
{
    QString cell = text;
    if (!cell.isEmpty() && QStringLiteral("=+-@").contains(cell.front()))
        cell.prepend(u'\'');
    if (cell.contains(u';') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r'))
        cell = u'"' + cell.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return cell;
}

QString dueListCsv(const QList<TDueDevice> &devices, const QDate &today)
{
    const QString endOfRow = QStringLiteral("\r\n");
    QString csv = QChar(0xFEFF);
    csv += QStringLiteral("Kunden-Nr.;Kunde;Prüfling-ID;Nummer;Bezeichnung;"
                          "Standort;Nächste Prüfung;Tage bis fällig;Status") +
           endOfRow;
    for (const TDueDevice &d : devices) {
        const bool never = d.neverInspected();
        const QStringList cells{
            QString::number(d.kundeId),
            csvCell(d.kundeName),
            QString::number(d.prueflingId),
            d.nummer,
            csvCell(d.bezeichnung),
            csvCell(d.ort),
            never ? QString() : d.nextDate.toString(QStringLiteral("dd.MM.yyyy")),
            never ? QString() : QString::number(today.daysTo(d.nextDate)),
            never                ? QStringLiteral("nie geprüft")
            : d.overdueOn(today) ? QStringLiteral("überfällig")
                                 : QStringLiteral("fällig"),
        };
        csv += cells.join(u';') + endOfRow;
    }
    return csv;
}

#pragma once
// Real-world texts at their full column widths, for the report tests: a
// customer "Aachener ..." (first in German order) with four devices, one
// inspection day with a four-line remark and a 120-line remark, two
// inspections sharing their time and a device never inspected, and a
// customer with 70 devices for a list of several pages.
#include <QStringList>

namespace longtext {

constexpr int Customer = 103;
constexpr int ManyDevicesCustomer = 104;
constexpr int ShortRemarkInspection = 30000;
constexpr int LongRemarkInspection = 30001;
inline const QString DeviceNumber = QStringLiteral("123456789012345678");
inline const QString CustomerName = QStringLiteral("Aachener Elektro- und Gebäudetechnik Großhandelsgesellschaft"); // 60
inline const QString Manufacturer =
    QStringLiteral("Kärcher Reinigungstechnik Vertriebsgesellschaft für gewerbliche Hochdruckgeräte"); // 80
inline const QString ContractorName = QStringLiteral("Elektromeisterbetrieb Willi Überlinger & Söhne GmbH & Co. KG"); // 60

inline QString longRemark()
{
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << QStringLiteral("Zeile %1: Pflege der Zuleitung, Schutzleiter fließend geprüft").arg(i);
    return lines.join(u'\n');
}

inline QString shortRemark()
{
    return QStringLiteral("Stecker erneuert.\nZugentlastung nachgezogen.\nGehäuse gereinigt.\nFlachbandkabel ersetzt (Ende).");
}

inline QString quoted(const QString &text) { return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\''; }

inline QStringList changes()
{
    QStringList sql = {
        QStringLiteral("UPDATE AUFTRAGNEHMER SET NAME = %1, STRASSE = 'Industriestraße 7', PLZ = '52062', ORT = 'Aachen', "
                       "TELEFON = '0241 9876543'").arg(quoted(ContractorName)),
        QStringLiteral("INSERT INTO KUNDEN (ID, NAME, NAME2, ZUSATZ, STRASSE, PLZ, ORT, TELEFON) VALUES (%1, %2, "
                       "'Niederlassung Süd', 'z. Hd. Frau Dr. Müller-Lüdenscheidt', 'Hauptstraße 123', NULL, 'Musterstadt', "
                       "'0123 456789')").arg(Customer).arg(quoted(CustomerName)),
        QStringLiteral("INSERT INTO PRUEFER (ID, NAME) VALUES (40, 'Maximilian Alexander Schwarzenberger-Hohenlohe')"),
        QStringLiteral("INSERT INTO PRUEFGERAETE (ID, NAME, BEZEICHNUNG, SERIENNUMMER) VALUES (40, "
                       "'Gerätetester Universal Profi für ortsveränderliche Geräte', "
                       "'Prüfgerät nach DIN VDE 0701-0702 mit Datenspeicher, Drucker', "
                       "'SN-2023-000000000000000000000000000000000000000042')"),
        QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID, SERIENNR, "
                       "HERSTELLER) VALUES (1200, 'Hochdruckreiniger mit Heißwasserstufe und Zubehör', %1, 'I', "
                       "'Lagerhalle 3, Regal 14, Fach 7 (hinter der Rampe)', 12, %2, "
                       "'HD-10/25-4-SX-PLUS-2019-0815-4711-000000000000000000000000000000000000000000001', %3)")
            .arg(DeviceNumber).arg(Customer).arg(quoted(Manufacturer)),
        QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID, VARIABEL, LAENGE, "
                       "GRENZWERT0) VALUES (1201, 'Verlängerungskabel 25 m', 2, 'II', 12, %1, 1, 25, 0.6)").arg(Customer),
        QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) VALUES (1202, "
                       "'Bohrmaschine ohne Nummer', 'II', 12, %1)").arg(Customer),
        QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) VALUES (1203, "
                       "'Leuchte nie geprüft', 1, 'II', 12, %1)").arg(Customer),
        // The next date as the user set it, not the interval's.
        QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                       "SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, "
                       "ISOLATIONSPRUEFUNG_BESTANDEN, ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, "
                       "BEMERKUNG) VALUES (%1, '2024-01-10 10:00', '2024-07-10', 40, 40, 1200, 1, 0.12, 1, 250, 1, 0.8, 1, 1, %2)")
            .arg(ShortRemarkInspection).arg(quoted(shortRemark())),
        QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                       "SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, "
                       "BEMERKUNG) VALUES (%1, '2024-01-10 11:00', '2025-01-10', 40, 40, 1201, 1, 0.75, 0, 1, %2)")
            .arg(LongRemarkInspection).arg(quoted(longRemark())),
        QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                       "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (30002, '2023-01-05 10:00', '2023-12-01', 40, 40, "
                       "1202, 1, 1)"),
        QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                       "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (30003, '2023-01-05 10:00', '2023-12-01', 40, 40, "
                       "1202, 1, 1)"),
        QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (%1, 'Zentrallager mit vielen Geräten')").arg(ManyDevicesCustomer),
    };
    for (int i = 0; i < 70; ++i)
        sql << QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) VALUES (%1, "
                              "'Gerät %2', %3, 'II', 12, %4)")
                   .arg(2000 + i)
                   .arg(70 - i)
                   .arg(i % 10 == 9 ? QStringLiteral("NULL") : QString::number(70 - i))
                   .arg(ManyDevicesCustomer);
    return sql;
}

} // namespace longtext

#pragma once
// A day of labels: the customer "Labor Süd" (300) with 26 devices inspected
// on 01.12.2026 and due again in March 2027, one of them failed and one
// without a number, and a contractor with a phone number.
#include <QStringList>

namespace labelday {

constexpr int kCustomer = 300;
constexpr int kDevices = 26;
constexpr int kFailed = 3;                  // the fourth device
constexpr int kWithoutNumber = kDevices - 1; // listed last

inline int deviceId(int i) { return 3000 + i; }
inline QString number(int i) { return i == kWithoutNumber ? QString() : QString::number(100 + i); }
inline QString payload(int i)
{
    return QStringLiteral("VPP1;K%1;G%2;N%3").arg(kCustomer).arg(deviceId(i)).arg(number(i));
}

inline QStringList changes()
{
    QStringList sql{
        QStringLiteral("UPDATE AUFTRAGNEHMER SET NAME = 'Elektro Jürgens', TELEFON = '0511 123456' WHERE ID = 1"),
        QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (300, 'Labor Süd')")};
    for (int i = 0; i < kDevices; ++i) {
        sql << QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) "
                              "VALUES (%1, 'Gerät %2', %3, 'I', 3, 300)")
                   .arg(deviceId(i))
                   .arg(i)
                   .arg(i == kWithoutNumber ? QStringLiteral("NULL") : number(i));
        sql << QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                              "PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
                              "VALUES (%1, '2026-12-01 09:%2', '2027-03-01', 11, 12, %3, %4, 1)")
                   .arg(30000 + i)
                   .arg(i % 60, 2, 10, QLatin1Char('0'))
                   .arg(deviceId(i))
                   .arg(i == kFailed ? 0 : 1);
    }
    // An earlier inspection of the first device: its label tells of the latest.
    sql << QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                          "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
                          "VALUES (29999, '2026-09-01 10:00', '2026-12-01', 11, 12, 3000, 0, 1)");
    return sql;
}

// What the label of the i-th device shows, one text per box.
inline QStringList labelTexts(int i)
{
    return {QStringLiteral("Elektro Jürgens"),
            QStringLiteral("Tel. 0511 123456"),
            i == kWithoutNumber ? QStringLiteral("Gerät ohne Nummer") : QStringLiteral("Gerät Nr. %1").arg(number(i)),
            QStringLiteral("Nächste Prüfung"),
            QStringLiteral("03/2027"),
            i == kFailed ? QStringLiteral("Nicht bestanden") : QStringLiteral("Bestanden"),
            QStringLiteral("Geprüft am 01.12.2026")};
}

} // namespace labelday

#pragma once
// Statements that add a customer with many devices to a test database, so
// that a test can show what a step reads does not grow with them.
#include <QStringList>

// A customer with that many devices (numbered from 1), each inspected twice,
// in 2025 and 2026, by the first inspector with the first instrument.
inline QStringList customerWithDevices(int kundeId, int devices)
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n AS (SELECT 1 AS I FROM RDB$DATABASE UNION ALL "
                                           "SELECT I + 1 FROM n WHERE I < %1) ")
                                .arg(devices);
    const int firstDevice = kundeId * 1000;
    return {QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (%1, 'Kunde %1')").arg(kundeId),
            QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID) ") + numbers +
                QStringLiteral("SELECT %1 + I, 'Gerät', I, 12, %2 FROM n").arg(firstDevice).arg(kundeId),
            QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFLINGE_ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, "
                           "PRUEFGERAETE_ID, SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) ") +
                numbers +
                QStringLiteral("SELECT 2 * (%1 + I) + d.K, %1 + I, DATEADD(d.K YEAR TO DATE '2025-06-10'), "
                               "DATEADD(d.K + 1 YEAR TO DATE '2025-06-10'), (SELECT MIN(ID) FROM PRUEFER), "
                               "(SELECT MIN(ID) FROM PRUEFGERAETE), 1, 1 "
                               "FROM n CROSS JOIN (SELECT 0 AS K FROM RDB$DATABASE UNION ALL SELECT 1 FROM RDB$DATABASE) d")
                    .arg(firstDevice)};
}

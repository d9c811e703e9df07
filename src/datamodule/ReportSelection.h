#pragma once
#include <QDate>
#include <QString>

// What a report shows: which report, for which inspection, customer, day or
// due date, and which inspections and devices it lets through. The report
// window and velmora-db fill one in; the data module opens its record sets.
struct TReportSelection {
    enum class Report { Inspection, Day, Inventory, Due };
    Report report = Report::Inspection;
    int inspectionId = 0; // Inspection
    int customerId = -1;  // Day and Inventory; Due: -1 for all customers
    QDate day;            // Day
    QDate dueDate;        // Inventory: the date printed, and the limit with onlyDue
    bool onlyDue = false;
    QDate dueUntil;       // Due: the last day the list reaches
    QString dueHorizon;   // Due: the horizon as printed in the header
    QString duePlace;     // Due: only places containing this text
    int resultFilter = 0;   // 0 all, 1 passed, 2 failed inspections
    int deviceFilter = 100; // 100 all, 110 active, 120 inactive devices

    // The layout in the report project that shows it.
    QString reportName() const
    {
        if (report == Report::Due)
            return QStringLiteral("Faelligkeiten");
        return report == Report::Inventory ? QStringLiteral("Inventarliste") : QStringLiteral("Pruefungen");
    }
};

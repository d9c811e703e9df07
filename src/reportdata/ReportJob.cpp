#include "ReportJob.h"
#include "ReportSelection.h"
#include "UDM.h"
#include <QCoreApplication>
#include <QLocale>

namespace reportjob {

QMap<QString, TDataSet *> connections(TfrmDM &dm)
{
    QMap<QString, TDataSet *> named{{QStringLiteral("rvDsetPruefungen"), &dm.dsetReportPruefungen},
                                    {QStringLiteral("rvDsetInventar"), &dm.dsetReportInventar},
                                    {QStringLiteral("rvDsetKunde"), &dm.dsetReportKunde},
                                    {QStringLiteral("rvDsetFaelligkeiten"), &dm.dsetReportFaelligkeiten},
                                    {QStringLiteral("rvDsetAuftragnehmer"), &dm.dsetAuftragnehmer}};
    // The limit rows count from 1 in the report project.
    for (size_t i = 0; i < dm.dsetGrenzwerte.size(); ++i)
        named.insert(QStringLiteral("rvDsetGrenzwert%1").arg(i + 1), dm.dsetGrenzwerte[i].get());
    return named;
}

void prepare(TPageWriter &writer, const TReportLayout &layout, TfrmDM &dm)
{
    writer.orientation = layout.orientation;
    writer.title = QStringLiteral("Auswertung");
    if (layout.name == u"Inventarliste")
        writer.subject = QStringLiteral("Inventarliste");
    else if (layout.name == u"Faelligkeiten")
        writer.subject = QStringLiteral("Fälligkeiten");
    else
        writer.subject = QStringLiteral("Prüfprotokoll");
    writer.author = contractorName(dm);
}

QString contractorName(TfrmDM &dm)
{
    TDataSet &contractor = dm.dsetAuftragnehmer;
    return contractor.active() && !contractor.isEmpty() ? contractor.fieldByName(QStringLiteral("NAME"))->asString() : QString();
}

void execute(TfrmDM &dm, const QString &reportName, TPageWriter &writer, TPageStream &stream)
{
    TReportProject project;
    project.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
    project.selectReport(reportName);
    prepare(writer, *project.selected(), dm);
    writer.execute(*project.selected(), connections(dm), stream);
}

QString deviceFilterText(int deviceFilter)
{
    if (deviceFilter == 110)
        return QStringLiteral("Aktive Prüflinge");
    if (deviceFilter == 120)
        return QStringLiteral("Inaktive Prüflinge");
    return QStringLiteral("Alle Prüflinge");
}

void setInventorySelection(TPageWriter &writer, int deviceFilter, const QDate &dueDate, bool onlyDue)
{
    const QString due = QLocale().toString(dueDate, QStringLiteral("dd.MM.yyyy"));
    writer.parameters.insert(QStringLiteral("Auswahl"),
                             deviceFilterText(deviceFilter) +
                                 (onlyDue ? QStringLiteral(", nur zu prüfen bis zum %1").arg(due) : QStringLiteral(", alle Prüftermine")));
    writer.parameters.insert(QStringLiteral("Stichtag"), due);
}

void setDueSelection(TPageWriter &writer, const TReportSelection &selection, TfrmDM &dm)
{
    TDataSet &customer = dm.dsetReportKunde;
    QString customers = selection.customerId >= 0 && customer.active() && !customer.isEmpty()
                            ? customer.fieldByName(QStringLiteral("NAME"))->asString()
                            : QStringLiteral("alle Kunden");
    if (!selection.duePlace.trimmed().isEmpty())
        customers += QStringLiteral(", Standort enthält „%1“").arg(selection.duePlace.trimmed());
    writer.parameters.insert(QStringLiteral("Kunden"), customers);
    writer.parameters.insert(QStringLiteral("Zeitraum"), selection.dueHorizon);
}

} // namespace reportjob

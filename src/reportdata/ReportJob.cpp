#include "ReportJob.h"
#include "UDM.h"
#include <QLocale>

namespace reportjob {

QMap<QString, TDataSet *> connections(TfrmDM &dm)
{
    return {{QStringLiteral("rvDsetPruefungen"), &dm.dsetReportPruefungen},
            {QStringLiteral("rvDsetInventar"), &dm.dsetReportInventar},
            {QStringLiteral("rvDsetKunde"), &dm.dsetReportKunde},
            {QStringLiteral("rvDsetGrenzwert1"), &dm.dsetGrenzwert1},
            {QStringLiteral("rvDsetGrenzwert2"), &dm.dsetGrenzwert2},
            {QStringLiteral("rvDsetGrenzwert3"), &dm.dsetGrenzwert3},
            {QStringLiteral("rvDsetGrenzwert4"), &dm.dsetGrenzwert4},
            {QStringLiteral("rvDsetGrenzwert5"), &dm.dsetGrenzwert5},
            {QStringLiteral("rvDsetAuftragnehmer"), &dm.dsetAuftragnehmer}};
}

void prepare(TPageWriter &writer, const TReportLayout &layout, TfrmDM &dm)
{
    writer.orientation = layout.orientation;
    writer.title = QStringLiteral("Auswertung");
    writer.subject = layout.name == u"Inventarliste" ? QStringLiteral("Inventarliste") : QStringLiteral("Prüfprotokoll");
    TDataSet &contractor = dm.dsetAuftragnehmer;
    writer.author = contractor.active() && !contractor.isEmpty() ? contractor.fieldByName(QStringLiteral("NAME"))->asString()
                                                                 : QString();
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

} // namespace reportjob

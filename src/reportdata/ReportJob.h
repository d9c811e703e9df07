#pragma once
#include "PageWriter.h"
#include <QDate>
#include <QMap>

class TDataSet;
class TfrmDM;
struct TReportSelection;

// What the report window and velmora-db share, so that both write the same
// pages from the same record sets.
namespace reportjob {

// The data connections of the report project, by name.
QMap<QString, TDataSet *> connections(TfrmDM &dm);

// Sets a writer up for a report: orientation of its layout, title,
// author (the contractor's name) and subject (the report's name).
void prepare(TPageWriter &writer, const TReportLayout &layout, TfrmDM &dm);

// Lays out the named report of the project beside the program over the
// record sets the data module has open.
void execute(TfrmDM &dm, const QString &reportName, TPageWriter &writer, TPageStream &stream);

// The inventory list's selection as printed in its header.
void setInventorySelection(TPageWriter &writer, int deviceFilter, const QDate &dueDate, bool onlyDue);

// The due list's customers (one by name, or all, with the place filter) and
// horizon as printed in its header; the record sets must be open.
void setDueSelection(TPageWriter &writer, const TReportSelection &selection, TfrmDM &dm);
// The contractor's name, for a PDF's author; empty without a contractor.
QString contractorName(TfrmDM &dm);

// "Alle Prüflinge", "Aktive Prüflinge", "Inaktive Prüflinge".
QString deviceFilterText(int deviceFilter);

} // namespace reportjob

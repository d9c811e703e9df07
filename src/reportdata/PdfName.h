#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class TfrmDM;
struct TReportSelection;

// The names under which PDF files are proposed: what the file holds, its
// date and whom it is about, e.g. "Prüfprotokoll 2026-12-10 Kunde Gerät.pdf",
// so that a folder of saved reports reads like a list of them.
namespace pdfname {

// Joins the kind, the day (ISO, so that names sort by date) and the non-empty
// parts; characters that Windows or Linux refuse in a file name become "-".
QString fileName(const QString &kind, const QDate &day, const QStringList &about);

// The report window's selection, read from the record sets it opened.
QString forReport(const TReportSelection &selection, TfrmDM &dm);

// The labels of a customer's devices, made on a day.
QString forLabels(const QDate &day, int customerId, TfrmDM &dm);

} // namespace pdfname

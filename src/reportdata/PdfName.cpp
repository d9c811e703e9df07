#include "PdfName.h"
#include "Clock.h"
#include "ReportSelection.h"
#include "UDM.h"
#include <QRegularExpression>

namespace pdfname {

namespace {

// Long enough for a customer and a device, short enough for any folder.
constexpr qsizetype kMaxLength = 120;

QString text(TDataSet &set, const char *field)
{
    return set.active() && !set.isEmpty() ? set.fieldByName(QString::fromLatin1(field))->asString() : QString();
}

QDate date(TDataSet &set, const char *field)
{
    return set.active() && !set.isEmpty() ? set.fieldByName(QString::fromLatin1(field))->asDateTime().date() : QDate();
}

QString customerOfSelection(const TReportSelection &selection, TfrmDM &dm)
{
    if (selection.report == TReportSelection::Report::Due && selection.customerId < 0)
        return QStringLiteral("alle Kunden");
    return text(dm.dsetReportKunde, "NAME");
}

} // namespace

QString fileName(const QString &kind, const QDate &day, const QStringList &about)
{
    QStringList parts{kind};
    if (day.isValid())
        parts << day.toString(Qt::ISODate);
    for (const QString &part : about)
        if (!part.trimmed().isEmpty())
            parts << part;
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f\\x7f]"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QString name = parts.join(u' ').replace(refused, QStringLiteral("-")).replace(blanks, QStringLiteral(" "));
    name = name.left(kMaxLength).trimmed();
    // Windows drops trailing dots and blanks silently.
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name + QStringLiteral(".pdf");
}

QString forReport(const TReportSelection &selection, TfrmDM &dm)
{
    TDataSet &protocols = dm.dsetReportPruefungen;
    switch (selection.report) {
    case TReportSelection::Report::Inspection:
        return fileName(QStringLiteral("Prüfprotokoll"), date(protocols, "PRUEFDATUM"),
                        {text(protocols, "KUNDE_NAME"), text(protocols, "PRUEFLING_BEZEICHNUNG")});
    case TReportSelection::Report::Day:
        return fileName(QStringLiteral("Prüfprotokolle"), selection.day, {customerOfSelection(selection, dm)});
    case TReportSelection::Report::Inventory:
        return fileName(QStringLiteral("Inventarliste"), TClock::today(), {customerOfSelection(selection, dm)});
    case TReportSelection::Report::Due:
        return fileName(QStringLiteral("Fälligkeiten"), TClock::today(), {customerOfSelection(selection, dm)});
    }
    return fileName(QStringLiteral("Bericht"), TClock::today(), {});
}

QString forLabels(const QDate &day, int customerId, TfrmDM &dm)
{
    QString customer;
    for (const auto &[id, name] : dm.customerNames())
        if (id == customerId)
            customer = name;
    return fileName(QStringLiteral("Etiketten"), day, {customer});
}

} // namespace pdfname

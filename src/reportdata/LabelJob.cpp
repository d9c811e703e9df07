#include "LabelJob.h"
#include "DbError.h"
#include "LabelData.h"
#include "PageWriter.h"
#include "ReportJob.h"
#include "ReportProject.h"
#include "UDM.h"

namespace labeljob {

void write(const TReportProject &project, TLabelData &data, const TLabelSheet &sheet, TfrmDM &dm, TPageStream &stream)
{
    TReportProject labels = project;
    if (!labels.selectReport(kLayoutName) || !labels.selected()->labelSize.isValid())
        throw EDatabaseError(QStringLiteral("Die Berichtsdatei %1 enthält kein Etikett „%2“.").arg(project.fileName(), kLayoutName));
    if (const QString fault = sheet.fault(); !fault.isEmpty())
        throw EDatabaseError(fault);
    TPageWriter writer;
    writer.title = QStringLiteral("Etiketten");
    writer.subject = QStringLiteral("Prüfetiketten");
    writer.author = reportjob::contractorName(dm);
    writer.labelSheet = sheet;
    writer.execute(*labels.selected(), data.connections(), stream);
}

QString countText(int labels, qsizetype pages)
{
    return QStringLiteral("%1 %2 auf %3 %4")
        .arg(labels)
        .arg(labels == 1 ? QStringLiteral("Etikett") : QStringLiteral("Etiketten"))
        .arg(pages)
        .arg(pages == 1 ? QStringLiteral("Seite") : QStringLiteral("Seiten"));
}

} // namespace labeljob

#pragma once
#include "DbError.h"
#include "LabelSheet.h"
#include "PageStream.h"
#include "ReportProject.h"
#include <QMap>
#include <functional>

class TDataSet;

// A report stopped at its writer's page limit; the message says so.
class ETooManyPages : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// Lays out a report's bands over its data connections into pages: title
// once, page header and footer on every page, one detail band per record of
// the detail connection (only the records its filter lets through, with
// their calculated fields), the summary at the end. Bands grow with their
// texts; a band that does not fit on the rest of a page goes to the next
// one, and a band taller than a page continues there below the repeated
// page header.
class TPageWriter {
public:
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString title = QStringLiteral("Auswertung");
    QString author;  // PDF metadata
    QString subject;
    // Values for "{name}" in fixed texts, besides page, pages and date.
    QMap<QString, QString> parameters;
    // More pages than any day's work needs: a layout that cannot end, or a
    // selection beyond reason, stops here with ETooManyPages.
    int maxPages = 20000;
    // Asked before each new page; true stops the pages with EAbort.
    std::function<bool()> cancelled;
    // Where a label layout puts its labels; other layouts ignore it.
    TLabelSheet labelSheet;
    // "Generiere Seite %p" with %p the page being generated.
    std::function<void(const QString &progress)> onProgress;

    void execute(const TReportLayout &layout, const QMap<QString, TDataSet *> &connections, TPageStream &stream);

private:
    class Run;
};

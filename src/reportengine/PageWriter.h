#pragma once
#include "PageStream.h"
#include "ReportProject.h"
#include <QMap>
#include <functional>

class TDataSet;

// Lays out a report's bands over its data connections into pages: title
// once, page header and footer on every page, one detail band per record of
// the detail connection (only the records its filter lets through, with
// their calculated fields), the summary at the end.
class TPageWriter {
public:
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString title = QStringLiteral("Auswertung");
    // "Generiere Seite %p" with %p the page being generated.
    std::function<void(const QString &progress)> onProgress;

    void execute(const TReportLayout &layout, const QMap<QString, TDataSet *> &connections, TPageStream &stream);

private:
    struct Pass;
    int run(Pass &pass);
};

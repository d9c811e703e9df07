#pragma once
#include <QList>
#include <QMap>
#include <QPageLayout>
#include <QRectF>
#include <QString>

// One box of a band: a fixed text (with {page}, {pages} and {date}) or the
// display text of a field of a data connection. Positions in millimetres.
struct TReportItem {
    QRectF rect;
    QString text;
    QString connection;
    QString field;
    bool bold = false;
    double size = 9.0; // points
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool frame = false;
};

struct TReportBand {
    enum class Kind { Title, PageHeader, Detail, PageFooter, Summary };
    Kind kind = Kind::Detail;
    double height = 0.0;    // millimetres
    QString connection;     // the detail band's records
    bool newPagePerRecord = false;
    QList<TReportItem> items;
};

struct TReportLayout {
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<TReportBand> bands;
    const TReportBand *band(TReportBand::Kind kind) const;
};

// The report project file: the reports by name, read from a JSON file.
class TReportProject {
public:
    // Throws EDatabaseError "The following reporting project does not
    // exist:" for a missing file, or the reason it cannot be read.
    void open(const QString &path);
    QString fileName() const { return m_fileName; }
    // Selects a report by its full name; a failed selection keeps the
    // previous one.
    bool selectReport(const QString &name);
    const TReportLayout *selected() const;
    QStringList reportNames() const { return m_reports.keys(); }

private:
    QString m_fileName;
    QMap<QString, TReportLayout> m_reports;
    QString m_selected;
};

#pragma once
#include <QList>
#include <QMap>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

// One box of a band: a fixed text (with {page}, {pages}, {date}, the
// writer's parameters and {connection.FIELD} in braces), the display text of a field of a data
// connection, a count of a connection's records, or a field's bytes shown
// as a picture, or the QR code of a text. Positions in millimetres. A text box grows downwards to
// hold its text unless it is elided to one line.
struct TReportItem {
    QRectF rect;
    QString text;
    QString connection;
    QString field;
    bool bold = false;
    double size = 9.0; // points
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool frame = false;
    bool shade = false;  // a light grey background (column titles)
    bool rule = false;   // a line along the top edge (signature lines)
    bool elide = false;  // one line, cut with "…" where the box ends
    bool image = false;  // the field holds an image file's bytes
    // "qr": true draws the QR code of the box's text (a field's value or a
    // fixed text with braces) as vector squares, quiet zone included, in the
    // largest square that fits the box, placed by the alignment.
    bool qrCode = false;
    // "count": the number of records of the connection, of those whose
    // field shows the text equals when a field is named.
    QString aggregate;
    QString equals;
    // Shown instead of the text when a field it names is empty; it may
    // name fields in braces itself.
    std::optional<QString> empty;
    // Bold for the records where a text (with fields in braces) reads as
    // given: a failing line of a table stands out without colour.
    struct Condition {
        QString text;
        QString equals;
    };
    std::optional<Condition> boldWhen;
};

struct TReportBand {
    // A group header comes before the first detail record of each run of
    // records with the same groupBy field, a group footer after its last;
    // both know "{groupCount}", the number of records of the run.
    enum class Kind { Title, PageHeader, Detail, PageFooter, Summary, GroupHeader, GroupFooter };
    Kind kind = Kind::Detail;
    double height = 0.0;    // millimetres
    QString connection;     // the detail band's records
    bool newPagePerRecord = false;
    QString groupBy; // group header: the detail connection's field that groups
    QList<TReportItem> items;
};

struct TReportLayout {
    QString name;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // A label layout ("label": {"width": …, "height": …}): its detail band
    // is one label designed at this size in millimetres, laid out into the
    // cells of a label sheet (TPageWriter::labelSheet).
    QSizeF labelSize;
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

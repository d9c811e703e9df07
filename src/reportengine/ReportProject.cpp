#include "ReportProject.h"
#include "DbError.h"
#include "PageStream.h"
#include <QFile>
#include <QLocale>
#include <cmath>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

TReportBand::Kind bandKind(const QString &text)
{
    if (text == u"title")
        return TReportBand::Kind::Title;
    if (text == u"pageHeader")
        return TReportBand::Kind::PageHeader;
    if (text == u"pageFooter")
        return TReportBand::Kind::PageFooter;
    if (text == u"summary")
        return TReportBand::Kind::Summary;
    if (text == u"groupHeader")
        return TReportBand::Kind::GroupHeader;
    if (text == u"groupFooter")
        return TReportBand::Kind::GroupFooter;
    return TReportBand::Kind::Detail;
}

Qt::Alignment alignment(const QString &text)
{
    const Qt::Alignment vertical = Qt::AlignVCenter;
    if (text == u"right")
        return Qt::AlignRight | vertical;
    if (text == u"center")
        return Qt::AlignHCenter | vertical;
    if (text == u"top") // long texts that read from the top of their box
        return Qt::AlignLeft | Qt::AlignTop;
    return Qt::AlignLeft | vertical;
}

TReportItem item(const QJsonObject &o)
{
    TReportItem i;
    i.rect = QRectF(o.value("x").toDouble(), o.value("y").toDouble(), o.value("w").toDouble(), o.value("h").toDouble(5));
    i.text = o.value("text").toString();
    i.connection = o.value("connection").toString();
    i.field = o.value("field").toString();
    i.bold = o.value("bold").toBool();
    i.size = o.value("size").toDouble(9.0);
    i.alignment = alignment(o.value("align").toString());
    i.frame = o.value("frame").toBool();
    i.shade = o.value("shade").toBool();
    i.rule = o.value("rule").toBool();
    i.elide = o.value("elide").toBool();
    i.image = o.value("image").toBool();
    i.qrCode = o.value("qr").toBool();
    i.aggregate = o.value("aggregate").toString();
    i.equals = o.value("equals").toString();
    if (o.contains("empty"))
        i.empty = o.value("empty").toString();
    if (const QJsonObject when = o.value("boldWhen").toObject(); !when.isEmpty()) {
        const QString qualified = when.value("field").toString();
        i.boldWhen = TReportItem::Condition{qualified.section(u'.', 0, 0), qualified.section(u'.', 1),
                                            when.value("equals").toString()};
    }
    return i;
}

QString bandName(TReportBand::Kind kind)
{
    switch (kind) {
    case TReportBand::Kind::Title:
        return QStringLiteral("title");
    case TReportBand::Kind::PageHeader:
        return QStringLiteral("pageHeader");
    case TReportBand::Kind::PageFooter:
        return QStringLiteral("pageFooter");
    case TReportBand::Kind::Summary:
        return QStringLiteral("summary");
    case TReportBand::Kind::GroupHeader:
        return QStringLiteral("groupHeader");
    case TReportBand::Kind::GroupFooter:
        return QStringLiteral("groupFooter");
    case TReportBand::Kind::Detail:
        break;
    }
    return QStringLiteral("detail");
}

bool isMeasure(double mm) { return std::isfinite(mm) && mm >= 0; }

QString boxName(const TReportItem &item)
{
    if (!item.field.isEmpty())
        return QStringLiteral("Feld %1").arg(item.field);
    return QStringLiteral("Text „%1“").arg(item.text.left(40));
}

// What makes a layout impossible to put on pages: a measure that is no
// number or negative, a band or box taller than the printable height, or a
// page header and footer that leave no room between them.
QString layoutFault(const TReportLayout &layout)
{
    const bool label = layout.labelSize.isValid();
    if (label && (!isMeasure(layout.labelSize.width()) || !isMeasure(layout.labelSize.height())))
        return QStringLiteral("die Etikettengröße ist keine gültige Zahl.");
    const double pageHeight = label ? layout.labelSize.height() : layout.orientation == QPageLayout::Landscape ? 210 : 297;
    const double printable = label ? pageHeight : pageHeight - 2 * TPageStream::MarginMm;
    const QLocale locale;
    const QString limit = locale.toString(printable, 'f', 1);
    double headerAndFooter = 0;
    for (const TReportBand &band : layout.bands) {
        const QString where = QStringLiteral("Band „%1“").arg(bandName(band.kind));
        if (!isMeasure(band.height))
            return where + QStringLiteral(": die Höhe ist keine gültige Zahl.");
        if (band.height > printable)
            return where + QStringLiteral(" ist %1 mm hoch, die Seite bietet %2 mm.").arg(locale.toString(band.height, 'f', 1), limit);
        if (band.kind == TReportBand::Kind::PageHeader || band.kind == TReportBand::Kind::PageFooter)
            headerAndFooter += band.height;
        for (const TReportItem &item : band.items) {
            const QRectF &r = item.rect;
            if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !isMeasure(r.width()) || !isMeasure(r.height()) ||
                !std::isfinite(item.size) || item.size <= 0)
                return where + QStringLiteral(", ") + boxName(item) + QStringLiteral(": eine Angabe ist keine gültige Zahl.");
            if (r.height() > printable)
                return where + QStringLiteral(", ") + boxName(item) +
                       QStringLiteral(" ist %1 mm hoch, die Seite bietet %2 mm.").arg(locale.toString(r.height(), 'f', 1), limit);
        }
    }
    if (!label && headerAndFooter >= printable)
        return QStringLiteral("Seitenkopf und Seitenfuß lassen auf der Seite keinen Platz.");
    return {};
}

} // namespace

const TReportBand *TReportLayout::band(TReportBand::Kind kind) const
{
    for (const TReportBand &b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

void TReportProject::open(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw EDatabaseError(QStringLiteral("Die Berichtsdatei %1 gibt es nicht. Sie gehört neben das Programm.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Die Berichtsdatei %1 kann nicht gelesen werden.").arg(path));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        throw EDatabaseError(QStringLiteral("Die Berichtsdatei %1 ist fehlerhaft: %2").arg(path, error.errorString()));
    m_reports.clear();
    for (const QJsonValue &r : doc.object().value("reports").toArray()) {
        const QJsonObject o = r.toObject();
        TReportLayout layout;
        layout.name = o.value("name").toString();
        layout.orientation = o.value("orientation").toString() == u"landscape" ? QPageLayout::Landscape : QPageLayout::Portrait;
        if (const QJsonObject label = o.value("label").toObject(); !label.isEmpty())
            layout.labelSize = QSizeF(label.value("width").toDouble(), label.value("height").toDouble());
        for (const QJsonValue &b : o.value("bands").toArray()) {
            const QJsonObject bo = b.toObject();
            TReportBand band;
            band.kind = bandKind(bo.value("kind").toString());
            band.height = bo.value("height").toDouble();
            band.connection = bo.value("connection").toString();
            band.newPagePerRecord = bo.value("newPagePerRecord").toBool();
            band.groupBy = bo.value("groupBy").toString();
            for (const QJsonValue &i : bo.value("items").toArray())
                band.items << item(i.toObject());
            layout.bands << band;
        }
        if (const QString fault = layoutFault(layout); !fault.isEmpty())
            throw EDatabaseError(QStringLiteral("Die Berichtsdatei %1 ist fehlerhaft: Bericht „%2“, %3").arg(path, layout.name, fault));
        m_reports.insert(layout.name, layout);
    }
    m_fileName = path;
}

bool TReportProject::selectReport(const QString &name)
{
    if (!m_reports.contains(name))
        return false;
    m_selected = name;
    return true;
}

const TReportLayout *TReportProject::selected() const
{
    const auto it = m_reports.find(m_selected);
    return it == m_reports.end() ? nullptr : &it.value();
}

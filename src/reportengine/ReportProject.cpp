#include "ReportProject.h"
#include "DbError.h"
#include <QFile>
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

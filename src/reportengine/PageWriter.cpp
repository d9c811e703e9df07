#include "PageWriter.h"
#include "Clock.h"
#include "DataSet.h"
#include <QPainter>

namespace {
constexpr double kMargin = 10.0; // mm
}

struct TPageWriter::Pass {
    const TReportLayout &layout;
    const QMap<QString, TDataSet *> &connections;
    TPageStream *stream; // null while counting
    int pageCount;       // known in the drawing pass
    QSizeF page;
    std::function<void(const QString &)> progress;

    QPicture picture;
    std::unique_ptr<QPainter> painter;
    int pageNo = 0;
    double y = 0;

    QString textOf(const TReportItem &item, const QString &detailConnection, int row) const
    {
        if (item.field.isEmpty()) {
            QString t = item.text;
            t.replace(QStringLiteral("{page}"), QString::number(pageNo));
            t.replace(QStringLiteral("{pages}"), QString::number(pageCount));
            t.replace(QStringLiteral("{date}"), QLocale().toString(TClock::today(), QStringLiteral("dd.MM.yyyy")));
            return t;
        }
        TDataSet *set = connections.value(item.connection);
        if (!set || !set->active() || set->isEmpty())
            return QString();
        const TField *f = set->findField(item.field);
        if (!f)
            return QString();
        const int r = item.connection == detailConnection ? row : 0;
        return f->displayTextOf(set->valueAt(r, f));
    }

    void drawBand(const TReportBand &band, const QString &detailConnection, int row)
    {
        if (stream) {
            for (const TReportItem &item : band.items) {
                const QRectF r((item.rect.x() + kMargin) * TPageStream::UnitsPerMm, (item.rect.y() + y) * TPageStream::UnitsPerMm,
                               item.rect.width() * TPageStream::UnitsPerMm, item.rect.height() * TPageStream::UnitsPerMm);
                QFont font(QStringLiteral("DejaVu Sans"));
                font.setPixelSize(qRound(item.size * 0.3528 * TPageStream::UnitsPerMm));
                font.setBold(item.bold);
                painter->setFont(font);
                if (item.frame)
                    painter->drawRect(r);
                const QString text = textOf(item, detailConnection, row);
                painter->drawText(r.adjusted(5, 0, -5, 0), int(item.alignment) | Qt::TextWordWrap, text);
                if (!text.isEmpty())
                    stream->texts << text;
            }
        }
        y += band.height;
    }

    void beginPage()
    {
        ++pageNo;
        if (progress)
            progress(QStringLiteral("Generiere Seite %1").arg(pageNo));
        y = kMargin;
        if (stream) {
            picture = QPicture();
            painter = std::make_unique<QPainter>(&picture);
            // The page's whole area, so that every output scales the same.
            painter->setPen(Qt::NoPen);
            painter->drawRect(QRectF(0, 0, page.width() * TPageStream::UnitsPerMm, page.height() * TPageStream::UnitsPerMm));
            painter->setPen(Qt::black);
        }
        if (const TReportBand *header = layout.band(TReportBand::Kind::PageHeader))
            drawBand(*header, {}, 0);
    }

    void endPage()
    {
        if (const TReportBand *footer = layout.band(TReportBand::Kind::PageFooter)) {
            y = page.height() - kMargin - footer->height;
            drawBand(*footer, {}, 0);
        }
        if (stream) {
            painter->end();
            painter.reset();
            stream->pages << picture;
        }
    }

    double bottom() const
    {
        const TReportBand *footer = layout.band(TReportBand::Kind::PageFooter);
        return page.height() - kMargin - (footer ? footer->height : 0.0);
    }

    void fit(const TReportBand &band)
    {
        if (y + band.height > bottom() && y > kMargin) {
            endPage();
            beginPage();
        }
    }
};

int TPageWriter::run(Pass &pass)
{
    pass.beginPage();
    if (const TReportBand *title = pass.layout.band(TReportBand::Kind::Title))
        pass.drawBand(*title, {}, 0);
    if (const TReportBand *detail = pass.layout.band(TReportBand::Kind::Detail)) {
        TDataSet *set = pass.connections.value(detail->connection);
        const int rows = set && set->active() ? set->recordCount() : 0;
        for (int r = 0; r < rows; ++r) {
            if (detail->newPagePerRecord && r > 0) {
                pass.endPage();
                pass.beginPage();
            }
            pass.fit(*detail);
            pass.drawBand(*detail, detail->connection, r);
        }
    }
    if (const TReportBand *summary = pass.layout.band(TReportBand::Kind::Summary)) {
        pass.fit(*summary);
        pass.drawBand(*summary, {}, 0);
    }
    pass.endPage();
    return pass.pageNo;
}

void TPageWriter::execute(const TReportLayout &layout, const QMap<QString, TDataSet *> &connections, TPageStream &stream)
{
    stream.clear();
    stream.orientation = orientation;
    stream.title = title;
    const QSizeF page = stream.pageSizeMm();
    Pass count{layout, connections, nullptr, 0, page, {}};
    const int pages = run(count); // "{pages}" is known before the first page is drawn
    Pass draw{layout, connections, &stream, pages, page, onProgress};
    run(draw);
}

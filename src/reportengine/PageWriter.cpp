#include "PageWriter.h"
#include "BandLayout.h"
#include "Clock.h"
#include "DbError.h"
#include "LabelPages.h"
#include "DataSet.h"
#include <QRegularExpression>
#include <algorithm>
#include <deque>

namespace {

constexpr double kUnit = TPageStream::UnitsPerMm;
constexpr double kEpsilon = 0.01;

// The part [from, to) of a laid-out band, drawn with its top at y.
struct Slice {
    const TLaidBand *band;
    double y;
    double from;
    double to;
};

struct Page {
    int row = 0;   // the detail record current when the page began
    int group = 0; // pages of one record of a report with a page per record
    QList<Slice> slices;
    const TLaidBand *header = nullptr; // as laid out when the page began
    const TLaidBand *footer = nullptr;
};

// Whether a band shows what is known only once every page is laid out: the
// page count, a page's place among its record's pages, a group's size.
bool needsFinishedPages(const TReportBand *band)
{
    static const QRegularExpression late(QStringLiteral("\\{(pages|groupPage|groupPages|groupCount)\\}"));
    if (!band)
        return false;
    return std::any_of(band->items.cbegin(), band->items.cend(), [](const TReportItem &item) {
        return item.text.contains(late) || (item.empty && item.empty->contains(late));
    });
}

// Pieces that a page break must not cut.
bool isSolid(const TPiece &p)
{
    return p.kind == TPiece::Kind::Text || p.kind == TPiece::Kind::Image || p.kind == TPiece::Kind::QrCode;
}

} // namespace

class TPageWriter::Run {
public:
    Run(const TPageWriter &writer, const TReportLayout &layout, const QMap<QString, TDataSet *> &connections, QSizeF pageMm)
        : w(writer), layout(layout), connections(connections), pageSize(pageMm * kUnit)
    {
        header = layout.band(TReportBand::Kind::PageHeader);
        footer = layout.band(TReportBand::Kind::PageFooter);
        relayHeader = needsFinishedPages(header);
        relayFooter = needsFinishedPages(footer);
        const TReportBand *detail = layout.band(TReportBand::Kind::Detail);
        detailConnection = detail ? detail->connection : QString();
    }

    void paginate()
    {
        newPage(0, true);
        if (const TReportBand *title = layout.band(TReportBand::Kind::Title))
            place(lay(*title, 0));
        if (const TReportBand *detail = layout.band(TReportBand::Kind::Detail)) {
            TDataSet *set = connections.value(detail->connection);
            const int rows = set && set->active() ? set->recordCount() : 0;
            const TReportBand *groupHeader = layout.band(TReportBand::Kind::GroupHeader);
            const TReportBand *groupFooter = layout.band(TReportBand::Kind::GroupFooter);
            const QList<int> groupStarts = groupStartRows(set, rows, groupHeader);
            qsizetype nextGroup = 0;
            for (int r = 0; r < rows; ++r) {
                if (detail->newPagePerRecord && r > 0)
                    newPage(r, true);
                else if (r > 0 && r % 64 == 0)
                    progress(static_cast<int>(pages.size()));
                row = r;
                if (nextGroup < groupStarts.size() && groupStarts.at(nextGroup) == r) {
                    if (nextGroup > 0 && groupFooter)
                        placeGroupBand(*groupFooter, r - 1, r - groupStarts.at(nextGroup - 1));
                    ++nextGroup;
                    placeGroupBand(*groupHeader, r, groupStarts.value(nextGroup, rows) - r);
                }
                place(lay(*detail, r));
            }
            if (groupFooter && !groupStarts.isEmpty())
                placeGroupBand(*groupFooter, rows - 1, rows - groupStarts.last());
        }
        if (const TReportBand *summary = layout.band(TReportBand::Kind::Summary))
            place(lay(*summary, row));
    }

    // The first record of each run of records with the same group field;
    // none without a group header.
    QList<int> groupStartRows(TDataSet *set, int rows, const TReportBand *groupHeader) const
    {
        QList<int> starts;
        const TField *key = groupHeader && set ? set->findField(groupHeader->groupBy) : nullptr;
        if (!key)
            return starts;
        QString previous;
        for (int r = 0; r < rows; ++r) {
            const QString value = key->displayTextOf(set->valueAt(r, key));
            if (r == 0 || value != previous)
                starts << r;
            previous = value;
        }
        return starts;
    }

    void placeGroupBand(const TReportBand &band, int r, int count)
    {
        groupCount = count;
        place(lay(band, r));
    }

    void paint(TPageStream &stream)
    {
        pageCount = static_cast<int>(pages.size());
        // Each page's number within its record's pages, and their count.
        QList<int> numberInGroup(pageCount, 1), pagesInGroup(pageCount, 1);
        for (int i = 1; i < pageCount; ++i)
            if (pages[i].group == pages[i - 1].group)
                numberInGroup[i] = numberInGroup[i - 1] + 1;
        for (int i = pageCount - 1; i >= 0; --i)
            pagesInGroup[i] = i + 1 < pageCount && pages[i + 1].group == pages[i].group ? pagesInGroup[i + 1] : numberInGroup[i];
        qsizetype piecesBefore = 0; // pages of one report hold about as many pieces each
        for (int i = 0; i < pageCount; ++i) {
            pageNo = i + 1;
            groupPage = numberInGroup[i];
            groupPages = pagesInGroup[i];
            progress(pageNo);
            TPage out;
            out.reserve(piecesBefore + piecesBefore / 8);
            const Page &page = pages.at(i);
            if (header) {
                const TLaidBand band = relayHeader ? layoutBand(*header, context(page.row)) : *page.header;
                draw(out, stream, {&band, top(), 0, band.height});
            }
            for (const Slice &slice : page.slices)
                draw(out, stream, slice);
            if (footer) {
                const TLaidBand band = relayFooter ? layoutBand(*footer, context(page.row)) : *page.footer;
                draw(out, stream, {&band, pageSize.height() - margin() - band.height, 0, band.height});
            }
            piecesBefore = out.size();
            stream.pages << out;
        }
    }

private:
    static double margin() { return TPageStream::MarginMm * kUnit; }
    double top() const { return margin(); }

    TBandContext context(int r) const
    {
        TBandContext c;
        c.connections = &connections;
        c.detailConnection = detailConnection;
        c.row = r;
        c.placeholder = [this](const QString &name) -> QString {
            if (name == u"page")
                return QString::number(pageNo);
            if (name == u"pages")
                return QString::number(std::max(pageCount, pageNo));
            if (name == u"groupPage")
                return QString::number(groupPage);
            if (name == u"groupPages")
                return QString::number(std::max(groupPages, groupPage));
            if (name == u"groupCount")
                return QString::number(groupCount);
            if (name == u"date")
                return QLocale().toString(TClock::today(), QStringLiteral("dd.MM.yyyy"));
            return w.parameters.value(name);
        };
        return c;
    }

    const TLaidBand *lay(const TReportBand &band, int r)
    {
        laid.push_back(layoutBand(band, context(r)));
        return &laid.back();
    }

    // Laid out at the page's start for its height; kept for painting unless
    // the band shows what only the finished pages know.
    const TLaidBand *pageBand(const TReportBand *band, int r)
    {
        return band ? lay(*band, r) : nullptr;
    }

    void progress(int page)
    {
        if (w.onProgress)
            w.onProgress(QStringLiteral("Generiere Seite %1").arg(page));
    }

    void newPage(int r, bool newGroup = false)
    {
        // A layout that cannot end, or a selection far beyond any day's
        // work, would otherwise fill the memory page by page.
        if (w.cancelled && w.cancelled())
            throw EAbort();
        if (pages.size() >= w.maxPages)
            throw ETooManyPages(QStringLiteral("Der Bericht würde mehr als %1 Seiten lang. Bitte die Auswahl einschränken.")
                                     .arg(QLocale().toString(w.maxPages)));
        pages.append(Page{r, pages.isEmpty() ? 0 : pages.last().group + (newGroup ? 1 : 0), {}});
        pageNo = static_cast<int>(pages.size());
        progress(pageNo);
        Page &page = pages.last();
        page.header = pageBand(header, r);
        page.footer = pageBand(footer, r);
        pageTop = top() + (page.header ? page.header->height : 0.0);
        bottom = pageSize.height() - margin() - (page.footer ? page.footer->height : 0.0);
        y = pageTop;
    }

    // Where a band part starting at from must end to fit into room without
    // cutting a line of text or a picture; from itself when nothing fits.
    static double cutFor(const TLaidBand &band, double from, double room)
    {
        double cut = from + room;
        for (bool moved = true; moved;) {
            moved = false;
            for (const TPiece &p : band.pieces)
                if (isSolid(p) && p.rect.top() < cut - kEpsilon && p.rect.bottom() > cut + kEpsilon && p.rect.top() >= from) {
                    cut = p.rect.top();
                    moved = true;
                }
        }
        return cut;
    }

    void place(const TLaidBand *band)
    {
        double from = 0;
        for (;;) {
            const double rest = band->height - from;
            const double room = bottom - y;
            if (rest <= room + kEpsilon) {
                pages.last().slices.append({band, y - from, from, band->height});
                y += rest;
                return;
            }
            const bool pageUsed = y > pageTop + kEpsilon;
            // A band that fits on a page of its own is kept together.
            if (pageUsed && rest <= bottom - pageTop) {
                newPage(row);
                continue;
            }
            double cut = cutFor(*band, from, room);
            if (cut <= from + kEpsilon) {
                if (pageUsed) {
                    newPage(row);
                    continue;
                }
                cut = from + room; // a single line taller than a page
            }
            pages.last().slices.append({band, y - from, from, cut});
            newPage(row);
            from = cut;
        }
    }

    // Puts the pieces of a band's slice onto a page, each text box with the
    // room it was given and the room its lines take.
    void draw(TPage &out, TPageStream &stream, const Slice &s)
    {
        const double dx = margin();
        const qsizetype boxes = s.band->textBoxes.size();
        QList<QRectF> needed(boxes);
        QList<QStringList> lines(boxes);
        for (const TPiece &p : s.band->pieces) {
            if (isSolid(p)) {
                if (p.rect.top() < s.from - kEpsilon || p.rect.top() >= s.to - kEpsilon)
                    continue;
            } else if (p.rect.bottom() < s.from - kEpsilon || p.rect.top() >= s.to - kEpsilon) {
                continue;
            }
            TPiece placed = p;
            placed.rect = p.rect.translated(dx, s.y);
            placed.baseline = p.baseline + s.y;
            if (p.kind == TPiece::Kind::Text) {
                needed[p.box] = needed.at(p.box).united(placed.rect);
                lines[p.box] << p.text;
            } else if (!isSolid(p)) {
                placed.rect = clipped(placed.rect, s);
            }
            out.append(std::move(placed));
        }
        for (qsizetype box = 0; box < boxes; ++box) {
            if (lines.at(box).isEmpty())
                continue;
            const QRectF given = clipped(s.band->textBoxes.at(box).translated(dx, s.y), s);
            const QString text = lines.at(box).join(u' ');
            stream.boxes.append({pageNo, text, given, needed.at(box)});
            stream.texts << text;
        }
    }

    static QRectF clipped(const QRectF &r, const Slice &s)
    {
        const double top = std::max(r.top(), s.from + s.y);
        const double bottom = std::min(r.bottom(), s.to + s.y);
        return QRectF(r.left(), top, r.width(), std::max(0.0, bottom - top));
    }

    const TPageWriter &w;
    const TReportLayout &layout;
    const QMap<QString, TDataSet *> &connections;
    const QSizeF pageSize;
    const TReportBand *header = nullptr;
    const TReportBand *footer = nullptr;
    bool relayHeader = false;
    bool relayFooter = false;
    QString detailConnection;
    std::deque<TLaidBand> laid; // stable addresses for the slices
    QList<Page> pages;
    int row = 0;
    int pageNo = 0;
    int pageCount = 0;
    int groupPage = 1;
    int groupPages = 1;
    int groupCount = 0; // records of the group being laid out
    double pageTop = 0;
    double bottom = 0;
    double y = 0;
};

void TPageWriter::execute(const TReportLayout &layout, const QMap<QString, TDataSet *> &connections, TPageStream &stream)
{
    stream.clear();
    stream.orientation = orientation;
    stream.title = title;
    stream.author = author;
    stream.subject = subject;
    if (layout.labelSize.isValid()) {
        writeLabelPages(layout, labelSheet, connections, parameters, stream);
        return;
    }
    Run run(*this, layout, connections, stream.pageSizeMm());
    run.paginate();
    run.paint(stream);
}

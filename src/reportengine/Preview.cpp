#include "Preview.h"
#include "PageStream.h"
#include <QEvent>
#include <QPainter>
#include <algorithm>

TPreview::TPreview(QWidget *parent) : QWidget(parent) { setAutoFillBackground(false); }

int TPreview::pageCount() const { return m_stream ? static_cast<int>(m_stream->pages.size()) : 0; }

double TPreview::pixelsPerUnit() const
{
    return (m_zoom / 100.0) * (96.0 / 25.4) / TPageStream::UnitsPerMm;
}

QSize TPreview::areaAt(int zoom) const
{
    const QSizeF mm = m_stream->pageSizeMm();
    const double scale = (zoom / 100.0) * (96.0 / 25.4);
    const int margin = qRound(mm.width() * scale * MarginPercent / 100.0);
    return {qRound(mm.width() * scale) + 2 * margin + ShadowDepth, qRound(mm.height() * scale) + 2 * margin + ShadowDepth};
}

int TPreview::fittingZoom() const
{
    const QSize room = parentWidget() ? parentWidget()->size() : size();
    const QSize full = areaAt(100);
    if (room.isEmpty() || full.isEmpty())
        return m_zoom;
    const double ratio = std::min(double(room.width()) / full.width(), double(room.height()) / full.height());
    int zoom = std::max(1, int(100.0 * ratio));
    // Margin and shadow do not scale with the page: step down until it fits.
    while (zoom > 1 && (areaAt(zoom).width() > room.width() || areaAt(zoom).height() > room.height()))
        --zoom;
    return zoom;
}

void TPreview::fitPage()
{
    if (!m_fitPage && parentWidget())
        parentWidget()->installEventFilter(this);
    m_fitPage = true;
    relayout();
}

bool TPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (m_fitPage && watched == parentWidget() && event->type() == QEvent::Resize)
        relayout();
    return QWidget::eventFilter(watched, event);
}

void TPreview::relayout()
{
    if (!m_stream || m_page == 0) {
        setMinimumSize(0, 0);
        resize(parentWidget() ? parentWidget()->size() : size());
    } else {
        if (m_fitPage)
            m_zoom = fittingZoom();
        const QSize wanted = areaAt(m_zoom);
        setMinimumSize(wanted);
        resize(wanted);
    }
    update();
}

void TPreview::renderPage(int page)
{
    if (page < 1 || page > pageCount())
        return;
    m_page = page;
    relayout();
    if (onPageChange)
        onPageChange();
}

void TPreview::next()
{
    if (m_page < pageCount())
        renderPage(m_page + 1);
}

void TPreview::previous()
{
    if (m_page > 1)
        renderPage(m_page - 1);
}

void TPreview::clear()
{
    m_page = 0;
    relayout();
}

void TPreview::zoomIn()
{
    m_fitPage = false;
    m_zoom += 10;
    relayout();
}

void TPreview::zoomOut()
{
    if (m_zoom <= 10)
        return;
    m_fitPage = false;
    m_zoom -= 10;
    relayout();
}

void TPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    if (!m_stream || m_page < 1 || m_page > pageCount())
        return;
    const QSizeF mm = m_stream->pageSizeMm();
    const double scale = pixelsPerUnit() * TPageStream::UnitsPerMm;
    const int margin = qRound(mm.width() * scale * MarginPercent / 100.0);
    const QRect sheet(margin, margin, qRound(mm.width() * scale), qRound(mm.height() * scale));
    p.fillRect(sheet.translated(ShadowDepth, ShadowDepth), Qt::black);
    p.fillRect(sheet, Qt::white);
    p.translate(sheet.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixelsPerUnit(), pixelsPerUnit());
    paintPage(p, m_stream->pages.at(m_page - 1));
}

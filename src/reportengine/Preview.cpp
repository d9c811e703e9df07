#include "Preview.h"
#include "PageStream.h"
#include <QPainter>

TPreview::TPreview(QWidget *parent) : QWidget(parent) { setAutoFillBackground(false); }

int TPreview::pageCount() const { return m_stream ? static_cast<int>(m_stream->pages.size()) : 0; }

double TPreview::pixelsPerUnit() const
{
    return (m_zoom / 100.0) * (96.0 / 25.4) / TPageStream::UnitsPerMm;
}

void TPreview::relayout()
{
    if (!m_stream || m_page == 0) {
        setMinimumSize(0, 0);
        resize(parentWidget() ? parentWidget()->size() : size());
    } else {
        const QSizeF mm = m_stream->pageSizeMm();
        const double scale = pixelsPerUnit() * TPageStream::UnitsPerMm;
        const int margin = qRound(mm.width() * scale * MarginPercent / 100.0);
        const QSize wanted(qRound(mm.width() * scale) + 2 * margin + ShadowDepth,
                           qRound(mm.height() * scale) + 2 * margin + ShadowDepth);
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
    m_zoom += 10;
    relayout();
}

void TPreview::zoomOut()
{
    if (m_zoom <= 10)
        return;
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

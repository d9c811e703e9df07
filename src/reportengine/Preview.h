#pragma once
#include <QWidget>
#include <functional>

struct TPageStream;

// Shows one page of a page stream at a zoom (100 percent: the page's real
// size on a 96 dpi screen), with a small shadow and margin around it.
class TPreview : public QWidget {
    Q_OBJECT
public:
    explicit TPreview(QWidget *parent = nullptr);

    void setStream(const TPageStream *stream) { m_stream = stream; }
    void render() { renderPage(1); } // the first page
    void renderPage(int page);
    void next();
    void previous();
    void clear();
    int currentPage() const { return m_page; }
    int pageCount() const;

    int zoom() const { return m_zoom; }
    void zoomIn();
    void zoomOut(); // refused at 10 percent or less
    // Zooms so that the whole page fits the area the preview is shown in
    // (its parent: a scroll area's viewport) and keeps it fitting when that
    // area changes its size, until the user zooms in or out.
    void fitPage();

    std::function<void()> onPageChange;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void relayout();
    double pixelsPerUnit() const;
    QSize areaAt(int zoom) const; // the page with margin and shadow
    int fittingZoom() const;

    const TPageStream *m_stream = nullptr;
    int m_page = 0;
    int m_zoom = 100;
    bool m_fitPage = false;
    static constexpr int ShadowDepth = 2;
    static constexpr double MarginPercent = 2.0;
};

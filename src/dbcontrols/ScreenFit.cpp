#include "ScreenFit.h"
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {

// The frame the window manager adds is not known before the window is
// shown: room is left for a title bar and borders.
QSize frameAllowance(const QWidget *window)
{
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int border = 2 * window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return QSize(border, title + border);
}

} // namespace

void resizeWithinScreen(QWidget *window, QSize wanted)
{
    const QScreen *screen = window->screen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QSize room = screen->availableGeometry().size() - frameAllowance(window);
    window->resize(wanted.boundedTo(room).expandedTo(window->minimumSizeHint().boundedTo(room)));
}

void moveWithinScreen(QWidget *window, QPoint wanted)
{
    const QScreen *screen = window->screen();
    if (!screen) {
        window->move(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = window->isVisible() ? window->frameGeometry().size() : window->size() + frameAllowance(window);
    const int x = std::max(area.left(), std::min(wanted.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - size.height()));
    window->move(x, y);
}

#include "ScreenFit.h"
#include <QScreen>
#include <QStyle>
#include <QWidget>

void resizeWithinScreen(QWidget *window, QSize wanted)
{
    const QScreen *screen = window->screen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    // The frame the window manager adds is not known before the window is
    // shown: room is left for a title bar and borders.
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int border = 2 * window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QSize room = screen->availableGeometry().size() - QSize(border, title + border);
    window->resize(wanted.boundedTo(room).expandedTo(window->minimumSizeHint().boundedTo(room)));
}

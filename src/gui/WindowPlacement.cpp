#include "gui/WindowPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace modshelf::gui {

app::WindowPos capturePlacement(const QWidget& window) {
    const bool maximized = window.isMaximized();
    const bool minimized = window.isMinimized();
    const QRect normal = (maximized || minimized || window.isFullScreen()) ? window.normalGeometry()
                                                                           : window.geometry();
    app::WindowPos pos;
    pos.flags = 0;
    pos.showCmd = minimized   ? app::kShowMinimized
                  : maximized ? app::kShowMaximized
                              : app::kShowNormal;
    pos.left = normal.left();
    pos.top = normal.top();
    pos.right = normal.left() + normal.width();
    pos.bottom = normal.top() + normal.height();
    return app::placementForClose(pos, maximized);
}

namespace {

// The screen that shows most of the rectangle; null when none shows any.
const QScreen* screenShowing(const QRect& rect) {
    const QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The frame around the window's inner rectangle. Before the window has been
// shown the window manager has not said, so take a border and a title bar as
// the style draws them.
app::FrameMargins frameMargins(const QWidget& window) {
    if (const QWindow* handle = window.windowHandle()) {
        const QMargins m = handle->frameMargins();
        if (!m.isNull()) return {m.left(), m.top(), m.right(), m.bottom()};
    }
    const int border = std::max(1, window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth));
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return {border, std::max(border, title), border, border};
}

}  // namespace

bool applyPlacement(QWidget& window, const app::WindowPos& stored) {
    app::WindowPos pos = app::placementForStart(stored, app::kShowNormal);
    const QRect rect(pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top);
    if (rect.width() <= 0 || rect.height() <= 0) return false;
    const QScreen* screen = screenShowing(rect);
    if (!screen) return false;
    const QRect available = screen->availableGeometry();
    pos = app::clampToArea(pos,
                           {available.left(), available.top(), available.left() + available.width(),
                            available.top() + available.height()},
                           frameMargins(window));
    window.setGeometry(QRect(pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top));
    return true;
}

}  // namespace modshelf::gui

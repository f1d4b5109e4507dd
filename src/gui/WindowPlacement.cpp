#include "gui/WindowPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

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

bool applyPlacement(QWidget& window, const app::WindowPos& stored) {
    const app::WindowPos pos = app::placementForStart(stored, app::kShowNormal);
    const QRect rect(pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top);
    if (rect.width() <= 0 || rect.height() <= 0) return false;
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->virtualGeometry().intersects(rect)) onScreen = true;
    if (!onScreen) return false;
    window.setGeometry(rect);
    return true;
}

}  // namespace modshelf::gui

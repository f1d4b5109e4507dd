#pragma once

#include "core/app/WindowPos.h"

class QWidget;

namespace modshelf::gui {

// The window's placement as "WindowPos" keeps it. The rectangle is the
// window's normal (restored) inner geometry, so that storing and applying it
// round-trips exactly whatever the window manager's frame.
app::WindowPos capturePlacement(const QWidget& window);

// Applies a stored placement to a window that is not shown yet, brought
// inside the work area of the screen that shows most of it. A rectangle that
// is empty or lies on no screen (a monitor that has gone) is ignored and the
// window keeps its default placement. True when applied.
bool applyPlacement(QWidget& window, const app::WindowPos& pos);

}  // namespace modshelf::gui

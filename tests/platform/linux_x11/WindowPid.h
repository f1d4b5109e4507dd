#pragma once

#include "core/host/WindowSystem.h"

namespace modshelf::test {

// The process id a window declares in _NET_WM_PID on $DISPLAY; -1 when none.
// Kept apart from the tests because Xlib's macros clash with GoogleTest.
long windowProcessId(host::WindowId window);

}  // namespace modshelf::test

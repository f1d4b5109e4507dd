#pragma once

#include <optional>

namespace modshelf::test {

// The Motif hints that tell a window manager which frame functions a window
// offers, as read back from the X server (kept apart from Qt's headers, which
// clash with Xlib's macros).
struct MotifHints {
    unsigned long flags = 0, functions = 0, decorations = 0;
};

std::optional<MotifHints> readMotifHints(unsigned long window);

// True when the hints let the window manager offer Close.
bool offersClose(const MotifHints& hints);

}  // namespace modshelf::test

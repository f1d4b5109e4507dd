#pragma once

#include <memory>
#include <string>

#include "core/host/WindowSystem.h"

struct _XDisplay;

namespace modshelf::test {

// Plain X windows made directly on $DISPLAY, to put the window walk before the
// cases a desktop produces: frames of a window manager, hidden windows, popups.
// Kept apart from the tests because Xlib's macros clash with GoogleTest.
class RawWindows {
public:
    RawWindows();
    ~RawWindows();
    RawWindows(const RawWindows&) = delete;
    RawWindows& operator=(const RawWindows&) = delete;

    bool connected() const { return display_ != nullptr; }

    struct Options {
        bool mapped = true;
        bool overrideRedirect = false;
        bool utf8Name = true;       // _NET_WM_NAME
        bool legacyName = true;     // WM_NAME (Latin-1 when it can be)
        host::WindowId parent = 0;  // 0: the root
    };
    host::WindowId create(const std::string& title, const Options& options);
    host::WindowId create(const std::string& title) { return create(title, Options{}); }
    void destroy(host::WindowId window);

private:
    _XDisplay* display_ = nullptr;
};

}  // namespace modshelf::test

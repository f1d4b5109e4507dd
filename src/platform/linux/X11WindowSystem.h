#pragma once

#include <string>
#include <vector>

#include "core/host/WindowSystem.h"

struct _XDisplay;

namespace modshelf::platform {

// The top-level windows of an X11 display. A Windows program under Wine shows
// its windows as X11 windows that carry its window titles, so this is how
// Scrivel is found and asked to close on Linux.
//
// The display is connected to on first use (its own connection, independent of
// the gui toolkit's); without a reachable display every lookup finds nothing.
class X11WindowSystem : public host::WindowSystem {
public:
    // `displayName` empty: the display named by $DISPLAY.
    explicit X11WindowSystem(std::string displayName = {});
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem&) = delete;
    X11WindowSystem& operator=(const X11WindowSystem&) = delete;

    // Windows are matched on _NET_WM_NAME (UTF-8) or on WM_NAME. Client windows
    // inside a window manager's frames are found too, and so are hidden and
    // minimized ones: Wine gives a program's hidden top-level windows X windows
    // as well, and a program's hidden main window is what says that it runs.
    // Override-redirect windows (menus, tips) are never top-level windows of a
    // program and are left out.
    std::vector<host::WindowId> findTopLevelWindows(const std::string& title) override;

    // Sends WM_PROTOCOLS / WM_DELETE_WINDOW, as a window manager's close
    // button does; Wine turns that into the system command "close".
    bool requestClose(host::WindowId window) override;

    // Whether the X window still exists; a destroyed one is an ordinary "no".
    bool windowExists(host::WindowId window) override;

    // Whether the display could be reached.
    bool connected();

private:
    _XDisplay* display();

    std::string displayName_;
    _XDisplay* display_ = nullptr;
    bool triedToConnect_ = false;
};

}  // namespace modshelf::platform

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace modshelf::host {

// Identifies one top-level window for as long as it exists.
using WindowId = std::uint64_t;

// The desktop's top-level windows as far as Scrivel's process control needs
// them: Scrivel is found and closed by its window titles only; its process is
// never opened.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The top-level windows whose title is exactly `title` (no case folding,
    // no trimming), topmost first. Hidden windows count, as they do for the
    // system's own lookup by title: a program's hidden main window says that
    // it runs. Empty when there are none or the desktop cannot be reached.
    virtual std::vector<WindowId> findTopLevelWindows(const std::string& title) = 0;

    // Asks a window to close, the way the window manager does when the user
    // clicks its close button. The program may refuse or ask its own question.
    // Returns without waiting; false when the request could not be delivered.
    virtual bool requestClose(WindowId window) = 0;

    // Whether the window still exists. A program that has closed has
    // destroyed its windows.
    virtual bool windowExists(WindowId window) = 0;
};

}  // namespace modshelf::host

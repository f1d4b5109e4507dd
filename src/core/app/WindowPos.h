#pragma once

#include <optional>
#include <string>

namespace modshelf::app {

// The main window's placement as the "WindowPos" setting keeps it: the fields
// of the system's window-placement record after its length.
struct WindowPos {
    int flags = 0;
    int showCmd = 0;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;  // the normal (restored) rectangle

    bool operator==(const WindowPos&) const = default;
};

inline constexpr int kRestoreToMaximized = 2;  // flag: a restore from minimized maximizes
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

// Ten signed decimal numbers joined by ":".
std::string formatWindowPos(const WindowPos& pos);
// Nothing unless the text starts with ten such numbers (anything after the
// tenth is ignored).
std::optional<WindowPos> parseWindowPos(const std::string& text);

// The placement to apply at start: the stored one with the show state the
// program was started with.
WindowPos placementForStart(WindowPos stored, int startShowCmd);
// A screen's work area: left, top inclusive; right, bottom exclusive.
struct ScreenArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// The window frame's thickness around the normal rectangle.
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// The stored placement brought inside the work area, frame included: moved
// in where it sticks out, and shrunk first where it is larger than the area
// (a placement stored at another scale, or on a larger screen).
WindowPos clampToArea(WindowPos pos, const ScreenArea& area, const FrameMargins& frame);

// The placement to store at close: a maximized window keeps its normal
// rectangle and gains the restore-to-maximized flag.
WindowPos placementForClose(WindowPos current, bool maximized);

}  // namespace modshelf::app

#include "core/app/WindowPos.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace modshelf::app {

std::string formatWindowPos(const WindowPos& p) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", p.flags, p.showCmd,
                  p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return buffer;
}

std::optional<WindowPos> parseWindowPos(const std::string& text) {
    int numbers[10];
    const char* cursor = text.data();
    const char* const end = text.data() + text.size();
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            if (cursor == end || *cursor != ':') return std::nullopt;
            ++cursor;
        }
        while (cursor != end && std::isspace(static_cast<unsigned char>(*cursor))) ++cursor;
        if (cursor != end && *cursor == '+') ++cursor;
        const auto [next, error] = std::from_chars(cursor, end, numbers[i]);
        if (error != std::errc()) return std::nullopt;
        cursor = next;
    }
    WindowPos p;
    p.flags = numbers[0];
    p.showCmd = numbers[1];
    p.minX = numbers[2];
    p.minY = numbers[3];
    p.maxX = numbers[4];
    p.maxY = numbers[5];
    p.left = numbers[6];
    p.top = numbers[7];
    p.right = numbers[8];
    p.bottom = numbers[9];
    return p;
}

WindowPos placementForStart(WindowPos stored, int startShowCmd) {
    stored.showCmd = startShowCmd;
    return stored;
}

namespace {

// One axis: [start, start + length) with its frame inside [low, high).
void clampAxis(int& start, int& end, int low, int high, int before, int after) {
    const int room = std::max(1, high - low - before - after);
    const int length = std::min(end - start, room);
    int first = std::clamp(start, low + before, high - after - length);
    start = first;
    end = first + length;
}

}  // namespace

WindowPos clampToArea(WindowPos pos, const ScreenArea& area, const FrameMargins& frame) {
    if (area.right <= area.left || area.bottom <= area.top) return pos;
    clampAxis(pos.left, pos.right, area.left, area.right, frame.left, frame.right);
    clampAxis(pos.top, pos.bottom, area.top, area.bottom, frame.top, frame.bottom);
    return pos;
}

WindowPos placementForClose(WindowPos current, bool maximized) {
    if (maximized) current.flags |= kRestoreToMaximized;
    return current;
}

}  // namespace modshelf::app

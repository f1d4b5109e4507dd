#include "MotifHints.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace modshelf::test {

namespace {
constexpr unsigned long kHintsFunctions = 1ul << 0;
constexpr unsigned long kFunctionAll = 1ul << 0;
constexpr unsigned long kFunctionClose = 1ul << 5;
}  // namespace

std::optional<MotifHints> readMotifHints(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    const Atom property = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<MotifHints> hints;
    if (XGetWindowProperty(display, window, property, 0, 5, False, AnyPropertyType, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count >= 3) {
        // Format-32 properties come back as longs.
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        hints = MotifHints{values[0], values[1], values[2]};
    }
    if (data) XFree(data);
    XCloseDisplay(display);
    return hints;
}

bool offersClose(const MotifHints& hints) {
    if (!(hints.flags & kHintsFunctions)) return true;  // the functions are not limited
    const bool all = hints.functions & kFunctionAll;
    const bool close = hints.functions & kFunctionClose;
    return all != close;  // with "all", the other bits name what is taken away
}

}  // namespace modshelf::test

#include "platform/linux/X11WindowSystem.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <optional>

namespace modshelf::platform {

namespace {

// Xlib reports protocol errors through one process-wide handler. While a trap
// is up, errors on its display are counted instead of ending the program;
// windows can vanish at any moment, so BadWindow is an ordinary outcome here.
Display* trappedDisplay = nullptr;
int trappedErrors = 0;

int countError(Display* display, XErrorEvent*) {
    if (display == trappedDisplay) ++trappedErrors;
    return 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        previousDisplay_ = trappedDisplay;
        previousErrors_ = trappedErrors;
        trappedDisplay = display_;
        trappedErrors = 0;
        previousHandler_ = XSetErrorHandler(countError);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previousHandler_);
        trappedDisplay = previousDisplay_;
        trappedErrors = previousErrors_;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Whether any request since the trap went up (or since the last call) failed.
    bool failed() {
        XSync(display_, False);
        const bool result = trappedErrors != 0;
        trappedErrors = 0;
        return result;
    }

private:
    Display* display_;
    Display* previousDisplay_;
    int previousErrors_;
    int (*previousHandler_)(Display*, XErrorEvent*);
};

// Depth of the search below a top-level window for the client window that a
// reparenting window manager has put inside its frame (frame, sometimes a
// wrapper, then the client).
constexpr int kMaxFrameDepth = 3;

std::optional<std::string> utf8Property(Display* display, Window window, Atom property,
                                        Atom utf8String) {
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long items = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 4096, False, utf8String,
                                          &actualType, &actualFormat, &items, &bytesAfter, &data);
    std::optional<std::string> result;
    if (status == Success && data && actualType == utf8String && actualFormat == 8)
        result.emplace(reinterpret_cast<const char*>(data), items);
    if (data) XFree(data);
    return result;
}

// WM_NAME may be Latin-1, compound text or UTF-8; Xlib converts all of them.
std::optional<std::string> wmName(Display* display, Window window) {
    XTextProperty property{};
    if (!XGetWMName(display, window, &property) || !property.value) return std::nullopt;
    std::optional<std::string> result;
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &property, &list, &count) >= Success && list) {
        std::string text;
        for (int i = 0; i < count; ++i) text += list[i];
        result = std::move(text);
        XFreeStringList(list);
    } else {
        result.emplace(reinterpret_cast<const char*>(property.value), property.nitems);
    }
    XFree(property.value);
    return result;
}

class TitleSearch {
public:
    TitleSearch(Display* display, const std::string& title)
        : display_(display),
          title_(title),
          netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
          utf8String_(XInternAtom(display, "UTF8_STRING", False)) {}

    // Topmost first: the root lists its children bottom to top.
    std::vector<host::WindowId> run() {
        std::vector<host::WindowId> found;
        const std::vector<Window> topLevel = children(DefaultRootWindow(display_));
        for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) visit(*it, 0, found);
        return found;
    }

private:
    void visit(Window window, int depth, std::vector<host::WindowId>& found) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window, &attributes)) return;
        // Wine gives a hidden popup window (the one that carries a program's
        // bare name) no window-manager frame: it is override-redirect, like
        // menus and tooltips, whose titles never match ours.
        if (hasTitle(window)) {
            found.push_back(window);
            return;
        }
        if (attributes.override_redirect) return;
        if (depth >= kMaxFrameDepth) return;
        const std::vector<Window> inner = children(window);
        for (auto it = inner.rbegin(); it != inner.rend(); ++it) visit(*it, depth + 1, found);
    }

    std::vector<Window> children(Window window) const {
        Window root = 0;
        Window parent = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        std::vector<Window> result;
        if (XQueryTree(display_, window, &root, &parent, &list, &count) && list)
            result.assign(list, list + count);
        if (list) XFree(list);
        return result;
    }

    bool hasTitle(Window window) const {
        if (auto name = utf8Property(display_, window, netWmName_, utf8String_))
            if (*name == title_) return true;
        if (auto name = wmName(display_, window))
            if (*name == title_) return true;
        return false;
    }

    Display* display_;
    const std::string& title_;
    Atom netWmName_;
    Atom utf8String_;
};

}  // namespace

X11WindowSystem::X11WindowSystem(std::string displayName) : displayName_(std::move(displayName)) {}

X11WindowSystem::~X11WindowSystem() {
    if (display_) XCloseDisplay(display_);
}

Display* X11WindowSystem::display() {
    if (!triedToConnect_) {
        triedToConnect_ = true;
        display_ = XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str());
    }
    return display_;
}

bool X11WindowSystem::connected() {
    return display() != nullptr;
}

std::vector<host::WindowId> X11WindowSystem::findTopLevelWindows(const std::string& title) {
    Display* d = display();
    if (!d) return {};
    ErrorTrap trap(d);
    return TitleSearch(d, title).run();
}

bool X11WindowSystem::requestClose(host::WindowId window) {
    Display* d = display();
    if (!d) return false;
    ErrorTrap trap(d);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window);
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(d, static_cast<Window>(window), False, NoEventMask, &event);
    return sent != 0 && !trap.failed();
}

bool X11WindowSystem::windowExists(host::WindowId window) {
    Display* d = display();
    if (!d) return false;
    ErrorTrap trap(d);
    XWindowAttributes attributes{};
    return XGetWindowAttributes(d, static_cast<Window>(window), &attributes) && !trap.failed();
}

}  // namespace modshelf::platform

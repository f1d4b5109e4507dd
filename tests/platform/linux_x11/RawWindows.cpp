#include "RawWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace modshelf::test {

RawWindows::RawWindows() : display_(XOpenDisplay(nullptr)) {}

RawWindows::~RawWindows() {
    if (display_) XCloseDisplay(display_);  // destroys every window made here
}

host::WindowId RawWindows::create(const std::string& title, const Options& options) {
    Display* d = display_;
    const Window parent =
        options.parent ? static_cast<Window>(options.parent) : DefaultRootWindow(d);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = options.overrideRedirect ? True : False;
    const Window window = XCreateWindow(d, parent, 10, 10, 120, 80, 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWOverrideRedirect, &attributes);
    if (options.utf8Name)
        XChangeProperty(d, window, XInternAtom(d, "_NET_WM_NAME", False),
                        XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
    if (options.legacyName) {
        char* list[] = {const_cast<char*>(title.c_str())};
        XTextProperty text{};
        if (Xutf8TextListToTextProperty(d, list, 1, XStdICCTextStyle, &text) >= Success) {
            XSetWMName(d, window, &text);
            XFree(text.value);
        }
    }
    if (options.mapped) XMapWindow(d, window);
    XSync(d, False);
    return window;
}

void RawWindows::destroy(host::WindowId window) {
    XDestroyWindow(display_, static_cast<Window>(window));
    XSync(display_, False);
}

}  // namespace modshelf::test

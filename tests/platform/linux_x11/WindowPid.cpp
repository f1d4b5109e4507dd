#include "WindowPid.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace modshelf::test {

namespace {
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}
}  // namespace

long windowProcessId(host::WindowId window) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return -1;
    auto previous = XSetErrorHandler(ignoreErrors);
    long pid = -1;
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, static_cast<Window>(window), XInternAtom(d, "_NET_WM_PID", False), 0,
                           1, False, XA_CARDINAL, &type, &format, &items, &after,
                           &data) == Success &&
        data && format == 32 && items == 1)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    XSync(d, False);
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return pid;
}

}  // namespace modshelf::test

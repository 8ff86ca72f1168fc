// X11: the media layer's own full screen shows the desktop mode. Its
// drawing window sits in a full-screen window of its own at the same size;
// both follow the desktop when monitors come or go.
#include "platform/Desktop_window.h"

#include <X11/Xlib.h>

namespace {

// The window may be gone by now (the saver ending): an error then is
// counted, not fatal. The process's own handler is put back afterwards.
int place_errors = 0;
extern "C" int count_place_error(Display*, XErrorEvent*)
{
    ++place_errors;
    return 0;
}

}  // namespace

bool Desktop_window::needed() { return false; }

bool Desktop_window::place(uintptr_t window, const Monitor_list::Area& area)
{
    if (!window || area.width <= 0 || area.height <= 0) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    place_errors = 0;
    XErrorHandler before = XSetErrorHandler(count_place_error);
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    const Window drawn = Window(window);
    bool ok = XQueryTree(display, drawn, &root, &parent, &children, &count) != 0;
    if (children) XFree(children);
    const unsigned w = unsigned(area.width), h = unsigned(area.height);
    if (ok && parent != root) {
        XMoveResizeWindow(display, parent, area.x, area.y, w, h);
        XMoveResizeWindow(display, drawn, 0, 0, w, h);
    } else if (ok) {
        XMoveResizeWindow(display, drawn, area.x, area.y, w, h);
    }
    // The server has done it once the round trip returns.
    XSync(display, False);
    XSetErrorHandler(before);
    XCloseDisplay(display);
    return ok && place_errors == 0;
}

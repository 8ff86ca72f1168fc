// The covers on X11: each an override-redirect window on our own
// connection, so no window manager frames, moves or lists it.
#include "platform/Monitor_cover.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

struct Monitor_cover::Shown {
    Display* display = nullptr;
    Cursor blank = None;
    std::vector<Window> windows;
};

namespace {

// An empty cursor: the pointer stays hidden over the covers as over the garden.
Cursor blank_cursor(Display* display, Window root)
{
    const char bits[1] = {0};
    Pixmap pixmap = XCreateBitmapFromData(display, root, bits, 1, 1);
    XColor black{};
    Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(display, pixmap);
    return cursor;
}

Window make_cover(Display* display, Cursor cursor, const Monitor_cover::Area& area)
{
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.cursor = cursor;
    // Obscured covers raise themselves again; keys reach one only when the
    // media layer holds no keyboard grab.
    attributes.event_mask = KeyPressMask | PointerMotionMask | VisibilityChangeMask;
    Window window = XCreateWindow(display, RootWindow(display, screen), area.x, area.y, unsigned(area.width),
                                  unsigned(area.height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                  CWOverrideRedirect | CWBackPixel | CWCursor | CWEventMask, &attributes);
    XMapRaised(display, window);
    return window;
}

}  // namespace

Monitor_cover::Monitor_cover() = default;
Monitor_cover::~Monitor_cover() { close(); }

void Monitor_cover::open()
{
    close();
    const std::vector<Area> areas = to_cover(Monitor_list::read(), 0);
    if (areas.empty()) return;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    shown = std::make_unique<Shown>();
    shown->display = display;
    shown->blank = blank_cursor(display, DefaultRootWindow(display));
    for (const Area& area : areas) shown->windows.push_back(make_cover(display, shown->blank, area));
    XSync(display, False);
}

void Monitor_cover::close()
{
    if (!shown) return;
    for (Window w : shown->windows) XDestroyWindow(shown->display, w);
    if (shown->blank != None) XFreeCursor(shown->display, shown->blank);
    // The server has removed them once the round trip returns.
    XSync(shown->display, True);
    XCloseDisplay(shown->display);
    shown.reset();
}

Monitor_cover::Input Monitor_cover::poll()
{
    Input input;
    if (!shown) return input;
    Display* display = shown->display;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress) {
            if (XLookupKeysym(&event.xkey, 0) == XK_Escape) input.escape = true;
        } else if (event.type == MotionNotify) {
            input.motion = true;
        } else if (event.type == VisibilityNotify && event.xvisibility.state != VisibilityUnobscured) {
            // A window mapped later went over the cover.
            XRaiseWindow(display, event.xvisibility.window);
        }
    }
    XFlush(display);
    return input;
}

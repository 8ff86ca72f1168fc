// The covers on X11: each an override-redirect window on our own
// connection, so no window manager frames, moves or lists it. RandR tells
// the connection when outputs change; the covers are then placed anew.
#include "platform/Monitor_cover.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <algorithm>

#include "platform/Xwayland_full_screen.h"

struct Monitor_cover::Shown {
    Display* display = nullptr;
    Cursor blank = None;
    Window garden = None;
    int randr_events = -1;  // RandR's first event number; -1: no RandR
    std::vector<Window> windows;
};

namespace {

// Errors of a few requests about windows that may vanish meanwhile (the
// garden's, another program's): counted, not fatal. The process's own
// handler is put back afterwards.
int quiet_errors = 0;
extern "C" int count_error(Display*, XErrorEvent*)
{
    ++quiet_errors;
    return 0;
}

class Quiet_errors {
public:
    explicit Quiet_errors(Display* display) : display(display), before(XSetErrorHandler(count_error))
    {
        quiet_errors = 0;
    }
    ~Quiet_errors()
    {
        XSync(display, False);
        XSetErrorHandler(before);
    }
    bool any() const { return quiet_errors != 0; }

private:
    Display* display;
    XErrorHandler before;
};

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

// A window's place on the root window; false when it is not there.
bool place_of(Display* display, Window window, Monitor_cover::Area& area)
{
    Quiet_errors quiet(display);
    XWindowAttributes attributes;
    Window child = None;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return false;
    area = {x, y, attributes.width, attributes.height};
    return true;
}

// Whether a mapped window that is not one of ours lies above `cover` and
// over part of it: a program's window to go under the cover again. Covers
// that overlap each other (monitors of other sizes at one place) never
// raise one another.
bool hidden_by_another(Display* display, Window cover, const std::vector<Window>& ours)
{
    Quiet_errors quiet(display);
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    Monitor_cover::Area own;
    if (!place_of(display, cover, own) || !XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool hidden = false;
    bool above = false;  // the list runs from the bottom of the stack up
    for (unsigned int i = 0; i < count && !hidden; ++i) {
        if (children[i] == cover) {
            above = true;
            continue;
        }
        if (!above || std::find(ours.begin(), ours.end(), children[i]) != ours.end()) continue;
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable) continue;
        hidden = a.x < own.x + own.width && own.x < a.x + a.width && a.y < own.y + own.height && own.y < a.y + a.height;
    }
    if (children) XFree(children);
    return hidden;
}

// Puts covers over the monitors the garden's window does not reach, after
// taking away any from before.
void place_covers(Monitor_cover::Shown& shown)
{
    for (Window w : shown.windows) XDestroyWindow(shown.display, w);
    shown.windows.clear();
    // Under XWayland the garden's own window spans every output.
    if (Xwayland_full_screen::active()) return;
    const std::vector<Monitor_cover::Area> monitors = Monitor_list::read();
    if (monitors.empty()) return;
    Monitor_cover::Area garden = monitors[0];
    if (shown.garden != None) place_of(shown.display, shown.garden, garden);
    for (const Monitor_cover::Area& area : Monitor_cover::to_cover(monitors, garden))
        shown.windows.push_back(make_cover(shown.display, shown.blank, area));
    XSync(shown.display, False);
}

}  // namespace

Monitor_cover::Monitor_cover() = default;
Monitor_cover::~Monitor_cover() { close(); }

void Monitor_cover::open(uintptr_t garden_window)
{
    close();
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    shown = std::make_unique<Shown>();
    shown->display = display;
    shown->garden = Window(garden_window);
    shown->blank = blank_cursor(display, DefaultRootWindow(display));
    // Outputs switched on or off, moved or resized: a notice on our connection.
    int error_base = 0;
    if (XRRQueryExtension(display, &shown->randr_events, &error_base))
        XRRSelectInput(display, DefaultRootWindow(display),
                       RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    else
        shown->randr_events = -1;
    if (Xwayland_full_screen::active()) {
        // A keyboard new to the compositor's seat can reach XWayland
        // with its first key already down, which is then told by its
        // release alone: Escape's is heard on the garden's top-level window.
        Window root = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        Quiet_errors quiet(display);
        if (XQueryTree(display, shown->garden, &root, &parent, &children, &count))
            XSelectInput(display, parent != root ? parent : shown->garden, KeyReleaseMask);
        if (children) XFree(children);
    }
    place_covers(*shown);
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
    bool layout_changed = false;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress || event.type == KeyRelease) {
            if (XLookupKeysym(&event.xkey, 0) == XK_Escape) input.escape = true;
        } else if (event.type == MotionNotify) {
            input.motion = true;
        } else if (event.type == VisibilityNotify && event.xvisibility.state != VisibilityUnobscured) {
            // A window mapped later went over the cover.
            if (hidden_by_another(display, event.xvisibility.window, shown->windows))
                XRaiseWindow(display, event.xvisibility.window);
        } else if (shown->randr_events >= 0 && event.type >= shown->randr_events &&
                   event.type < shown->randr_events + RRNumberEvents) {
            XRRUpdateConfiguration(&event);
            layout_changed = true;
        }
    }
    if (layout_changed) place_covers(*shown);
    input.layout_changed = layout_changed;
    XFlush(display);
    return input;
}

void Monitor_cover::refit()
{
    if (shown) place_covers(*shown);
}

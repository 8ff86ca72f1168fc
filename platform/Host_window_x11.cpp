#include "platform/Host_window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t x_error_seen = 0;
void (*on_window_lost)() = nullptr;
void (*on_connection_lost)() = nullptr;
XErrorHandler error_handler_before = nullptr;
// Our own connection, whose requests' errors our code sees returned.
Display* own_connection = nullptr;

// The windows whose errors mean "gone": the lent one, our child in it, the
// media layer's. A few, fixed, read inside the error handler.
const int max_windows = 8;
unsigned long our_windows[max_windows] = {};

void add_window(unsigned long window)
{
    for (unsigned long& w : our_windows) {
        if (w == window) return;
        if (w == 0) {
            w = window;
            return;
        }
    }
}

bool is_ours(unsigned long resource)
{
    for (unsigned long w : our_windows)
        if (w != 0 && w == resource) return true;
    return false;
}

extern "C" int on_x_error(Display* display, XErrorEvent* error)
{
    // BadWindow, BadDrawable, GLXBadDrawable...: the host has destroyed our
    // window, or our child went with it.
    if (is_ours(error->resourceid)) {
        x_error_seen = 1;
        if (display != own_connection && on_window_lost) on_window_lost();
        return 0;
    }
    static bool passing_on = false;
    if (passing_on || !error_handler_before) return 0;
    passing_on = true;
    error_handler_before(display, error);
    passing_on = false;
    return 0;
}

extern "C" int on_x_io_error(Display*)
{
    if (on_connection_lost) on_connection_lost();
    return 0;
}

Display* x_display(void* d) { return static_cast<Display*>(d); }

// The visual the media layer would choose for a window of its own (double
// buffered RGBA with a depth buffer; GLX prefers no stencil), if it has no
// stencil and the window's depth: null otherwise.
XVisualInfo* depth_only_visual(Display* d, int screen, int depth)
{
    int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(d, screen, wanted);
    if (!visual) return nullptr;
    int stencil = 1, depth_bits = 0;
    if (visual->depth != depth || glXGetConfig(d, visual, GLX_STENCIL_SIZE, &stencil) != 0 || stencil != 0 ||
        glXGetConfig(d, visual, GLX_DEPTH_SIZE, &depth_bits) != 0 || depth_bits == 0) {
        XFree(visual);
        return nullptr;
    }
    return visual;
}

}  // namespace

bool Host_window::open(unsigned long id)
{
    close();
    Display* d = XOpenDisplay(nullptr);
    answered = d != nullptr;
    if (!d) return false;
    display = d;
    own_connection = d;
    window = id ? id : DefaultRootWindow(d);
    // Counted as ours before the first question: a window that is not
    // there is then an answer (false), not an error Xlib prints and exits 1
    // on.
    const bool seen_before = x_error_seen != 0;
    add_window(window);
    int w = 0, h = 0;
    if (!size(w, h)) {
        x_error_seen = seen_before;
        close();
        return false;
    }
    // Our connection hears of the window's end (DestroyNotify), whoever
    // ends it; the host keeps every event of its own.
    XSelectInput(d, window, StructureNotifyMask);
    return true;
}

void Host_window::close()
{
    // Closing the connection also destroys our child window and colormap.
    if (display) XCloseDisplay(x_display(display));
    if (own_connection == display) own_connection = nullptr;
    display = nullptr;
    drawn = 0;
}

bool Host_window::still_there()
{
    if (!display) return false;
    Display* d = x_display(display);
    XEvent event;
    while (XPending(d)) {
        XNextEvent(d, &event);
        if (event.type == DestroyNotify && (event.xdestroywindow.window == window || event.xdestroywindow.window == drawn))
            x_error_seen = 1;
    }
    return !x_error_seen;
}

bool Host_window::size(int& width, int& height)
{
    if (!display) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x_display(display), window, &attributes)) return false;
    width = attributes.width;
    height = attributes.height;
    if (drawn && (width != drawn_width || height != drawn_height)) {
        XResizeWindow(x_display(display), drawn, unsigned(width), unsigned(height));
        // The renderer reads the size on its own connection.
        XSync(x_display(display), False);
        drawn_width = width;
        drawn_height = height;
    }
    return true;
}

void Host_window::lend_to_media_layer()
{
    unsigned long target = window;
    Display* d = x_display(display);
    XWindowAttributes host;
    if (d && !drawn && !x_error_seen && XGetWindowAttributes(d, window, &host)) {
        const int screen = XScreenNumberOfScreen(host.screen);
        if (XVisualInfo* visual = depth_only_visual(d, screen, host.depth)) {
            XSetWindowAttributes attributes{};
            attributes.colormap = XCreateColormap(d, RootWindow(d, screen), visual->visual, AllocNone);
            attributes.border_pixel = 0;
            // Its own end is heard of too; it takes no input.
            attributes.event_mask = StructureNotifyMask;
            unsigned long mask = CWColormap | CWBorderPixel | CWEventMask;
            // A child of the root is a top-level window: no window manager
            // may frame or move it, and it stays below every other window,
            // where the root's own picture would be.
            const bool on_root = window == RootWindow(d, screen);
            if (on_root) {
                attributes.override_redirect = True;
                mask |= CWOverrideRedirect;
            }
            // No background: until the first frame the host's picture shows.
            drawn = XCreateWindow(d, window, 0, 0, unsigned(host.width), unsigned(host.height), 0, visual->depth,
                                  InputOutput, visual->visual, mask, &attributes);
            XFree(visual);
            if (on_root) XLowerWindow(d, drawn);
            XMapWindow(d, drawn);
            // The media layer opens the window on its own connection.
            XSync(d, False);
            drawn_width = host.width;
            drawn_height = host.height;
            target = drawn;
            add_window(drawn);
            if (x_error_seen) {
                // Either the host's window went away (the loop ends on the
                // flag) or the server refused our child: then draw into the
                // host's window as if no such visual were offered.
                x_error_seen = 0;
                const bool host_there = XGetWindowAttributes(d, window, &host) != 0;
                if (host_there) {
                    XDestroyWindow(d, drawn);
                    XSync(d, False);
                    x_error_seen = 0;
                }
                drawn = 0;
                target = window;
            }
        }
    }
    setenv("SDL_WINDOWID", std::to_string(target).c_str(), 1);
}

void Host_window::catch_x_errors(void (*window_lost)())
{
    on_window_lost = window_lost;
    // Installed again after the media layer put its own first: the one
    // before ours stays the one found the first time (the media layer's
    // own passes errors back to ours).
    const XErrorHandler before = XSetErrorHandler(on_x_error);
    if (!error_handler_before && before != on_x_error) error_handler_before = before;
    catch_lost_connection(window_lost);
}

void Host_window::count_as_ours(unsigned long window)
{
    if (window) add_window(window);
}

void Host_window::catch_lost_connection(void (*connection_lost)())
{
    on_connection_lost = connection_lost;
    XSetIOErrorHandler(on_x_io_error);
}

bool Host_window::gone() { return x_error_seen != 0; }

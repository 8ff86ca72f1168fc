#include "platform/Host_window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t x_error_seen = 0;
void (*on_connection_lost)() = nullptr;

extern "C" int on_x_error(Display*, XErrorEvent*)
{
    // BadWindow, BadDrawable and the like: the host has destroyed our window.
    x_error_seen = 1;
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
    if (!d) return false;
    display = d;
    window = id ? id : DefaultRootWindow(d);
    int w = 0, h = 0;
    if (!size(w, h)) {
        close();
        return false;
    }
    return true;
}

void Host_window::close()
{
    // Closing the connection also destroys our child window and colormap.
    if (display) XCloseDisplay(x_display(display));
    display = nullptr;
    drawn = 0;
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
            unsigned long mask = CWColormap | CWBorderPixel;
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

void Host_window::catch_x_errors(void (*connection_lost)())
{
    on_connection_lost = connection_lost;
    XSetErrorHandler(on_x_error);
    XSetIOErrorHandler(on_x_io_error);
}

bool Host_window::gone() { return x_error_seen != 0; }

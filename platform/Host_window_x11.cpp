#include "platform/Host_window.h"

#include <X11/Xlib.h>
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
    if (display) XCloseDisplay(x_display(display));
    display = nullptr;
}

bool Host_window::size(int& width, int& height)
{
    if (!display) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x_display(display), window, &attributes)) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

void Host_window::lend_to_media_layer() const
{
    setenv("SDL_WINDOWID", std::to_string(window).c_str(), 1);
}

void Host_window::catch_x_errors(void (*connection_lost)())
{
    on_connection_lost = connection_lost;
    XSetErrorHandler(on_x_error);
    XSetIOErrorHandler(on_x_io_error);
}

bool Host_window::gone() { return x_error_seen != 0; }

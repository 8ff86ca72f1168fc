#include "tests/support/Host_test_window.h"

#include <X11/Xlib.h>
#include <cstdio>

namespace {
Display* x(void* d) { return static_cast<Display*>(d); }
}  // namespace

Host_test_window::Host_test_window(int width, int height)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    display = d;
    XSetWindowAttributes attributes;
    attributes.background_pixel = BlackPixel(d, DefaultScreen(d));
    // No window manager on the test server: it stays where it is put.
    attributes.override_redirect = True;
    window = XCreateWindow(d, DefaultRootWindow(d), 0, 0, unsigned(width), unsigned(height), 0,
                           CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect,
                           &attributes);
    XMapRaised(d, window);
    XSync(d, False);
}

Host_test_window::~Host_test_window()
{
    destroy();
    if (display) XCloseDisplay(x(display));
}

std::string Host_test_window::hex_id() const
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

void Host_test_window::resize(int width, int height)
{
    if (!window) return;
    XResizeWindow(x(display), window, unsigned(width), unsigned(height));
    XSync(x(display), False);
}

bool Host_test_window::can_grab_input()
{
    if (!window) return false;
    Display* d = x(display);
    const bool keyboard = XGrabKeyboard(d, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    const bool pointer = XGrabPointer(d, window, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) ==
                         GrabSuccess;
    XUngrabKeyboard(d, CurrentTime);
    XUngrabPointer(d, CurrentTime);
    XSync(d, False);
    return keyboard && pointer;
}

void Host_test_window::destroy()
{
    if (!window) return;
    XDestroyWindow(x(display), window);
    XSync(x(display), False);
    window = 0;
}

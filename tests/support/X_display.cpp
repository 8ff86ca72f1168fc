#include "tests/support/X_display.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "tools/common/Png_writer.h"

namespace {

// One connection per call: the tests are short and this keeps no state
// between them (the saver under test has its own connection).
class Connection {
public:
    Connection()
    {
        const char* name = std::getenv("DISPLAY");
        display = (name && *name) ? XOpenDisplay(name) : nullptr;
    }
    ~Connection()
    {
        if (display) XCloseDisplay(display);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* display = nullptr;
};

int run(const std::string& command) { return std::system(command.c_str()); }

// The channel's value scaled to 0..255 from a mask such as 0xFF0000.
uint8_t channel(unsigned long pixel, unsigned long mask)
{
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return uint8_t(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

bool X_display::available()
{
    Connection c;
    return c.display != nullptr;
}

namespace {

extern "C" int ignore_error(Display*, XErrorEvent*) { return 0; }

// A window listed by XQueryTree may be gone by the time it is asked about
// (the saver under test makes and drops windows as it starts): that error
// must not end the test binary through Xlib's default handler.
std::vector<unsigned long> mapped_on(Display* display)
{
    std::vector<unsigned long> result;
    if (!display) return result;
    const XErrorHandler before = XSetErrorHandler(ignore_error);
    struct Restore {
        Display* d;
        XErrorHandler h;
        ~Restore() { XSync(d, False), XSetErrorHandler(h); }
    } restore{display, before};
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return result;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable)
            result.push_back(children[i]);
    }
    if (children) XFree(children);
    return result;
}

}  // namespace

std::vector<unsigned long> X_display::mapped_windows()
{
    Connection c;
    return mapped_on(c.display);
}

size_t X_display::mapped_windows_of(struct _XDisplay* display) { return mapped_on(display).size(); }

bool X_display::wait_for_new_window(const std::vector<unsigned long>& before, int timeout_ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    do {
        for (unsigned long w : mapped_windows())
            if (std::find(before.begin(), before.end(), w) == before.end()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < until);
    return false;
}

bool X_display::key(const std::string& keysym)
{
    return run("xdotool key '" + keysym + "' >/dev/null 2>&1") == 0;
}

bool X_display::mouse_move(int x, int y)
{
    return run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " >/dev/null 2>&1") ==
           0;
}

X_display::Picture X_display::grab()
{
    Picture picture;
    Connection c;
    if (!c.display) return picture;
    const int screen = DefaultScreen(c.display);
    const int w = DisplayWidth(c.display, screen), h = DisplayHeight(c.display, screen);
    XImage* image = XGetImage(c.display, RootWindow(c.display, screen), 0, 0, unsigned(w), unsigned(h),
                              AllPlanes, ZPixmap);
    if (!image) return picture;
    picture.width = w;
    picture.height = h;
    picture.rgb.resize(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            uint8_t* out = &picture.rgb[(size_t(y) * w + x) * 3];
            out[0] = channel(p, image->red_mask);
            out[1] = channel(p, image->green_mask);
            out[2] = channel(p, image->blue_mask);
        }
    }
    XDestroyImage(image);
    return picture;
}

bool X_display::save_png(const Picture& picture, const std::string& path)
{
    if (picture.empty()) return false;
    std::vector<uint8_t> rgba(size_t(picture.width) * picture.height * 4);
    for (size_t i = 0, j = 0; i < picture.rgb.size(); i += 3, j += 4) {
        rgba[j] = picture.rgb[i];
        rgba[j + 1] = picture.rgb[i + 1];
        rgba[j + 2] = picture.rgb[i + 2];
        rgba[j + 3] = 255;
    }
    return Png_writer::write_file(path, picture.width, picture.height, rgba.data());
}

bool X_display::pointer_shown()
{
    Connection c;
    int event_base = 0, error_base = 0, major = 4, minor = 0;
    if (!c.display || !XFixesQueryExtension(c.display, &event_base, &error_base) ||
        !XFixesQueryVersion(c.display, &major, &minor))
        return false;
    XFixesCursorImage* image = XFixesGetCursorImage(c.display);
    if (!image) return false;
    bool shown = false;
    for (size_t i = 0; i < size_t(image->width) * image->height; ++i)
        if ((image->pixels[i] >> 24) & 0xFF) shown = true;
    XFree(image);
    return shown;
}

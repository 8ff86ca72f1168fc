// XWayland: the window's full screen asked for in EWMH's words, which KWin,
// Mutter and sway's window manager all read; over several outputs through
// _NET_WM_FULLSCREEN_MONITORS (KWin, Mutter) or, on sway, which has no such
// request, through its own command socket (SWAYSOCK).
#include "platform/Xwayland_full_screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool xwayland_outputs(Display* display, bool& listed)
{
    listed = false;
    int event_base = 0, error_base = 0;
    if (!XRRQueryExtension(display, &event_base, &error_base)) return false;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (!resources) return false;
    bool found = false;
    for (int i = 0; i < resources->noutput && !found; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        if (!info) continue;
        listed = true;
        found = info->name && std::strncmp(info->name, "XWAYLAND", 8) == 0;
        XRRFreeOutputInfo(info);
    }
    XRRFreeScreenResources(resources);
    return found;
}

bool ask_server()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool listed = false;
    const bool found = xwayland_outputs(display, listed);
    XCloseDisplay(display);
    if (listed) return found;
    // A nested X server under a Wayland desktop (Xvfb, Xephyr) lists outputs
    // of its own, so WAYLAND_DISPLAY alone decides only where none are listed.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland && *wayland;
}

void send_to_root(Display* display, Window window, const char* type, long a0, long a1, long a2, long a3, long a4)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = a0;
    event.xclient.data.l[1] = a1;
    event.xclient.data.l[2] = a2;
    event.xclient.data.l[3] = a3;
    event.xclient.data.l[4] = a4;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool is_full_screen(Display* display, Window window)
{
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom full = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, state, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data) ==
            Success &&
        data && format == 32) {
        const Atom* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == full;
    }
    if (data) XFree(data);
    return found;
}

// The server's time now, which window managers want with an activation
// (Mutter calls a request at time 0 buggy): that of the notice an empty
// append to a property of our own window brings, always sent.
Time server_time(Display* display, Window window)
{
    XSelectInput(display, window, PropertyChangeMask);
    const Atom stamp = XInternAtom(display, "_GARDENLUME_TIME", False);
    XChangeProperty(display, window, stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(display, window, PropertyChangeMask, &event);
    return event.xproperty.time;
}

// The compositor answers within a few frames; a second is plenty, and a
// window manager that never does costs no more than that once.
void wait_for_full_screen(Display* display, Window window)
{
    for (int waited_ms = 0; waited_ms < 1000 && !is_full_screen(display, window); waited_ms += 20) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        usleep(20 * 1000);
    }
}

// All `size` bytes written to, or read from, the socket; false when it ends
// or times out first.
bool transfer(int fd, char* bytes, size_t size, bool writing)
{
    while (size > 0) {
        const ssize_t n = writing ? write(fd, bytes, size) : read(fd, bytes, size);
        if (n <= 0) return false;
        bytes += n;
        size -= size_t(n);
    }
    return true;
}

// One RUN_COMMAND over sway's socket; true when sway says it succeeded.
bool sway_run(const std::string& command)
{
    const char* path = std::getenv("SWAYSOCK");
    sockaddr_un address{};
    if (!path || !*path || std::strlen(path) >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // A sway that does not answer never holds the garden up for long.
    timeval limit{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    char header[14] = {'i', '3', '-', 'i', 'p', 'c'};
    const uint32_t length = uint32_t(command.size()), type = 0;  // RUN_COMMAND, in the host's byte order
    std::memcpy(header + 6, &length, 4);
    std::memcpy(header + 10, &type, 4);
    std::string text = command;
    bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
              transfer(fd, header, sizeof header, true) && transfer(fd, &text[0], text.size(), true) &&
              transfer(fd, header, sizeof header, false);
    uint32_t reply_length = 0;
    if (ok) std::memcpy(&reply_length, header + 6, 4);
    std::string reply(ok && reply_length < 65536 ? reply_length : 0, '\0');
    ok = ok && reply_length < 65536 && transfer(fd, &reply[0], reply.size(), false);
    close(fd);
    return ok && reply.find("true") != std::string::npos && reply.find("false") == std::string::npos;
}

// EWMH's _NET_WM_FULLSCREEN_MONITORS: the indices of the monitors at the
// top, bottom, left and right edges of the whole desktop.
struct Edges {
    long top = 0, bottom = 0, left = 0, right = 0;
};

Edges edges(const std::vector<Monitor_list::Area>& m)
{
    Edges e;
    for (size_t i = 1; i < m.size(); ++i) {
        if (m[i].y < m[size_t(e.top)].y) e.top = long(i);
        if (m[i].y + m[i].height > m[size_t(e.bottom)].y + m[size_t(e.bottom)].height) e.bottom = long(i);
        if (m[i].x < m[size_t(e.left)].x) e.left = long(i);
        if (m[i].x + m[i].width > m[size_t(e.right)].x + m[size_t(e.right)].width) e.right = long(i);
    }
    return e;
}

}  // namespace

bool Xwayland_full_screen::active()
{
    static const bool answer = ask_server();
    return answer;
}

bool Xwayland_full_screen::take(uintptr_t window, const std::vector<Monitor_list::Area>& monitors)
{
    if (!window) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    Window top = Window(window);
    const bool found = XQueryTree(display, top, &root, &parent, &children, &count) != 0;
    if (children) XFree(children);
    if (found && parent != root) top = parent;
    if (found) {
        const long add = 1, normal_application = 1, pager = 2;
        send_to_root(display, top, "_NET_WM_STATE", add,
                     long(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False)), 0, normal_application, 0);
        if (monitors.size() > 1) {
            const Edges e = edges(monitors);
            send_to_root(display, top, "_NET_WM_FULLSCREEN_MONITORS", e.top, e.bottom, e.left, e.right,
                         normal_application);
        }
        // As a pager asks: a saver that comes up on its own is to have the
        // keys, whatever a focus-stealing rule says of new windows.
        send_to_root(display, top, "_NET_ACTIVE_WINDOW", pager, long(server_time(display, top)), 0, 0, 0);
        XFlush(display);
        wait_for_full_screen(display, top);
        // sway knows the window by now; it may still be on its way into the tree.
        for (int tries = 0; monitors.size() > 1 && tries < 10 && std::getenv("SWAYSOCK"); ++tries) {
            if (sway_run("[id=" + std::to_string(top) + "] fullscreen enable global")) break;
            usleep(50 * 1000);
        }
    }
    XCloseDisplay(display);
    return found;
}

bool Xwayland_full_screen::centre(int width, int height, Monitor_views::View& view, Monitor_list::Area& window)
{
    Monitor_list::Area primary;
    if (!Monitor_list::desktop(window) || !Monitor_list::primary(primary) || width <= 0 || height <= 0 ||
        width > primary.width || height > primary.height)
        return false;
    view.x = primary.x - window.x + (primary.width - width) / 2;
    const int top = primary.y - window.y + (primary.height - height) / 2;
    view.y = window.height - top - height;  // GL counts from the bottom
    view.width = width;
    view.height = height;
    view.aspect = float(width) / float(height);
    view.fov_y = Monitor_views::fov_y(view.aspect);
    return true;
}

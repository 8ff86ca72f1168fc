// The full screen under XWayland, on a Wayland desktop (sway, KDE Plasma,
// GNOME). There the compositor hands keys and the pointer only to windows it
// manages and focuses, so the media layer's full screen (an unmanaged,
// override-redirect window) would never hear Escape. Instead the garden opens
// an ordinary borderless window, which this asks the compositor to make a
// focused full-screen window over every output.
//
//   if (Xwayland_full_screen::active()) { borderless window over the desktop;
//                                         Xwayland_full_screen::take(handle, monitors); }
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Monitor_list.h"
#include "platform/Monitor_views.h"

class Xwayland_full_screen {
public:
    // Whether the X server is XWayland: its outputs are XWayland's or, where
    // the server lists none, WAYLAND_DISPLAY is set. Asked once a process.
    static bool active();
    // Makes the media layer's top-level window (the one holding `window`)
    // full screen over `monitors` (as the window system lists them) and
    // gives it the keyboard. False when there is no such window.
    static bool take(uintptr_t window, const std::vector<Monitor_list::Area>& monitors);
    // A fixed screen mode, `width` x `height`, in a window over the whole
    // desktop (`window` gets its place): centred on the primary monitor,
    // black around it, as on X11. False when it is larger than that monitor.
    static bool centre(int width, int height, Monitor_views::View& view, Monitor_list::Area& window);
};

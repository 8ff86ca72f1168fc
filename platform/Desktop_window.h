// The desktop screen mode where the media layer's full screen would change
// the display mode: SDL 1.2 on Windows calls ChangeDisplaySettings for every
// full screen, even one at the desktop's own size. There the garden opens an
// ordinary borderless window instead, which this makes topmost over the
// primary monitor, above the taskbar. On X11 the media layer's full screen
// never changes the mode (Platform::keep_display_mode) and serves as it is.
//
//   if (Desktop_window::needed()) { borderless window at the monitor's size;
//                                   Desktop_window::place(handle, monitor); }
#pragma once
#include <cstdint>

#include "platform/Monitor_list.h"

class Desktop_window {
public:
    // Whether the desktop mode needs a window of its own on this system.
    static bool needed();
    // Puts the window (an HWND) over `area`, above every window that is not
    // topmost, and gives it the keyboard. False when there is no such window.
    static bool place(uintptr_t window, const Monitor_list::Area& area);
};

// The window of the desktop screen mode. Where the media layer's full
// screen would change the display mode (SDL 1.2 on Windows calls
// ChangeDisplaySettings for every full screen, even one at the desktop's own
// size) the garden opens an ordinary borderless window instead, which this
// makes topmost over its monitors (the primary, or the whole virtual
// screen), above the taskbar. On X11 the media layer's full screen never
// changes the mode (Platform::keep_display_mode) and serves as it is; this
// only moves it when the monitors change.
//
//   if (Desktop_window::needed()) { borderless window at the area's size;
//                                   Desktop_window::place(handle, area); }
#pragma once
#include <cstdint>

#include "platform/Monitor_list.h"

class Desktop_window {
public:
    // Whether the desktop mode needs a window of its own on this system.
    static bool needed();
    // Puts the window (an HWND; on X11 the media layer's drawing window,
    // with the full-screen window that holds it) over `area`, above every
    // window that is not topmost, and gives it the keyboard. False when
    // there is no such window.
    static bool place(uintptr_t window, const Monitor_list::Area& area);
};

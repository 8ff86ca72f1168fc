#include "platform/Desktop_window.h"

#include <windows.h>

bool Desktop_window::needed() { return true; }

bool Desktop_window::place(uintptr_t window, const Monitor_list::Area& area)
{
    HWND w = reinterpret_cast<HWND>(window);
    if (!w || !IsWindow(w)) return false;
    // A popup with no frame: its client area is the whole window.
    if (!SetWindowPos(w, HWND_TOPMOST, area.x, area.y, area.width, area.height,
                      SWP_SHOWWINDOW | SWP_NOCOPYBITS | SWP_FRAMECHANGED))
        return false;
    SetForegroundWindow(w);
    return true;
}

#include "platform/Desktop_window.h"

#include <windows.h>

namespace {

// The media layer pins its window to the size it was opened at (its
// WM_GETMINMAXINFO), so it could not follow the virtual screen when
// monitors come or go. The size this window is to have, and the media
// layer's own window procedure, which handles everything else.
WNDPROC media_procedure = nullptr;
POINT wanted_size{0, 0};

LRESULT CALLBACK sized_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const LRESULT result = CallWindowProcA(media_procedure, window, message, wparam, lparam);
    if (message == WM_GETMINMAXINFO && wanted_size.x > 0) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lparam);
        info->ptMaxSize = wanted_size;
        info->ptMaxTrackSize = wanted_size;
        info->ptMinTrackSize = wanted_size;
    }
    return result;
}

}  // namespace

bool Desktop_window::needed() { return true; }

bool Desktop_window::place(uintptr_t window, const Monitor_list::Area& area)
{
    HWND w = reinterpret_cast<HWND>(window);
    if (!w || !IsWindow(w)) return false;
    wanted_size = {area.width, area.height};
    if (!media_procedure)
        media_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sized_procedure)));
    // A popup with no frame: its client area is the whole window.
    if (!SetWindowPos(w, HWND_TOPMOST, area.x, area.y, area.width, area.height,
                      SWP_SHOWWINDOW | SWP_NOCOPYBITS | SWP_FRAMECHANGED))
        return false;
    SetForegroundWindow(w);
    return true;
}

// The covers on Windows: each a topmost popup of a black class that never
// activates, so the garden's window keeps the keyboard, and has no taskbar
// button. Their messages are dispatched by the media layer's event pump
// (same thread); the window procedure notes the input in the Shown it
// points at.
#include "platform/Monitor_cover.h"

#include <windows.h>

struct Monitor_cover::Shown {
    std::vector<HWND> windows;
    HWND garden = nullptr;
    std::vector<Monitor_cover::Area> monitors;  // the layout the covers follow
    DWORD checked = 0;                          // when it was last asked for
    Input seen;
    // A WM_MOUSEMOVE also comes when a window appears under a still
    // pointer: only a changed position counts as movement.
    POINT pointer{};
};

namespace {

const char cover_class[] = "GardenlumeMonitorCover";

LRESULT CALLBACK cover_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* shown = reinterpret_cast<Monitor_cover::Shown*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    case WM_KEYDOWN:
        if (shown && wparam == VK_ESCAPE) shown->seen.escape = true;
        return 0;
    case WM_MOUSEMOVE: {
        POINT p{};
        if (shown && GetCursorPos(&p) && (p.x != shown->pointer.x || p.y != shown->pointer.y)) {
            shown->pointer = p;
            shown->seen.motion = true;
        }
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool register_class(HINSTANCE instance)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = cover_procedure;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = cover_class;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Puts covers over the monitors the garden's window does not reach, after
// taking away any from before; `monitors` is the layout they follow.
void place_covers(Monitor_cover::Shown& shown, const std::vector<Monitor_cover::Area>& monitors)
{
    for (HWND w : shown.windows) DestroyWindow(w);
    shown.windows.clear();
    shown.monitors = monitors;
    if (monitors.empty()) return;
    Monitor_cover::Area garden = monitors[0];
    RECT r;
    if (shown.garden && GetWindowRect(shown.garden, &r))
        garden = {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const Monitor_cover::Area& a : Monitor_cover::to_cover(monitors, garden)) {
        HWND w = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cover_class, "",
                                 WS_POPUP, a.x, a.y, a.width, a.height, nullptr, nullptr, instance, nullptr);
        if (!w) continue;
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&shown));
        ShowWindow(w, SW_SHOWNOACTIVATE);
        UpdateWindow(w);
        shown.windows.push_back(w);
    }
}

bool same(const std::vector<Monitor_cover::Area>& a, const std::vector<Monitor_cover::Area>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].width != b[i].width || a[i].height != b[i].height)
            return false;
    return true;
}

}  // namespace

Monitor_cover::Monitor_cover() = default;
Monitor_cover::~Monitor_cover() { close(); }

void Monitor_cover::open(uintptr_t garden_window)
{
    close();
    if (!register_class(GetModuleHandleA(nullptr))) return;
    shown = std::make_unique<Shown>();
    shown->garden = reinterpret_cast<HWND>(garden_window);
    GetCursorPos(&shown->pointer);
    shown->checked = GetTickCount();
    place_covers(*shown, Monitor_list::read());
}

void Monitor_cover::close()
{
    if (!shown) return;
    for (HWND w : shown->windows) DestroyWindow(w);
    shown.reset();
}

Monitor_cover::Input Monitor_cover::poll()
{
    Input input;
    if (!shown) return input;
    // Messages the media layer's pump has not dispatched yet.
    MSG message;
    for (HWND w : shown->windows)
        while (PeekMessageA(&message, w, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    input = shown->seen;
    shown->seen = Input();
    // Monitors plugged in or out: the layout is asked again twice a second,
    // so a change is followed within one.
    const DWORD now = GetTickCount();
    if (now - shown->checked >= 500) {
        shown->checked = now;
        const std::vector<Area> monitors = Monitor_list::read();
        if (!same(monitors, shown->monitors)) {
            place_covers(*shown, monitors);
            input.layout_changed = true;
        }
    }
    return input;
}

void Monitor_cover::refit()
{
    if (shown) place_covers(*shown, shown->monitors);
}

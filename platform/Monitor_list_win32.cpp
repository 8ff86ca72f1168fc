// The monitors on Windows, from EnumDisplayMonitors, with the one that holds
// the desktop's origin (the primary) moved first. The programs are DPI-aware
// through their manifest, so these are the monitors' real pixels.
#include "platform/Monitor_list.h"

#include <windows.h>

namespace {

struct Found {
    std::vector<Monitor_list::Area> monitors;
    size_t primary = 0;
};

BOOL CALLBACK add_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    Found& found = *reinterpret_cast<Found*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    if (info.dwFlags & MONITORINFOF_PRIMARY) found.primary = found.monitors.size();
    found.monitors.push_back({int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)});
    return TRUE;
}

}  // namespace

// SDL's full screen is always the primary monitor's.
const bool Monitor_list::head_from_environment = false;

std::vector<Monitor_list::Area> Monitor_list::read()
{
    Found found;
    EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&found));
    if (found.primary != 0 && found.primary < found.monitors.size()) {
        const Area primary = found.monitors[found.primary];
        found.monitors.erase(found.monitors.begin() + long(found.primary));
        found.monitors.insert(found.monitors.begin(), primary);
    }
    return found.monitors;
}

bool Monitor_list::desktop(Area& area)
{
    area = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return area.width > 0 && area.height > 0;
}

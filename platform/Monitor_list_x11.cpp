// The monitors on X11: Xinerama's heads, answered by RandR on a current
// server with the primary output first; a server without Xinerama has one
// monitor, its default screen.
#include "platform/Monitor_list.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>

const bool Monitor_list::head_from_environment = true;

std::vector<Monitor_list::Area> Monitor_list::read()
{
    std::vector<Area> result;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return result;
    int event_base = 0, error_base = 0, count = 0;
    if (XineramaQueryExtension(display, &event_base, &error_base) && XineramaIsActive(display)) {
        XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
        for (int i = 0; heads && i < count; ++i)
            result.push_back({heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height});
        if (heads) XFree(heads);
    }
    if (result.empty()) {
        const int screen = DefaultScreen(display);
        result.push_back({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
    }
    XCloseDisplay(display);
    return result;
}

bool Monitor_list::desktop(Area& area)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    const int screen = DefaultScreen(display);
    area = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    XCloseDisplay(display);
    return area.width > 0 && area.height > 0;
}

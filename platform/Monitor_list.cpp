// What every window system shares.
#include "platform/Monitor_list.h"

#include <cstdlib>

namespace {

bool pick(const std::vector<Monitor_list::Area>& monitors, size_t index, Monitor_list::Area& area)
{
    if (index >= monitors.size() || monitors[index].width <= 0 || monitors[index].height <= 0) return false;
    area = monitors[index];
    return true;
}

}  // namespace

bool Monitor_list::primary(Area& area) { return pick(read(), 0, area); }

bool Monitor_list::head_chosen()
{
    return head_from_environment &&
           (std::getenv("SDL_VIDEO_FULLSCREEN_DISPLAY") || std::getenv("SDL_VIDEO_FULLSCREEN_HEAD"));
}

bool Monitor_list::full_screen(Area& area)
{
    // SDL 1.2 on X11 reads the first of these it finds, as a head number
    // (Xinerama's, which RandR numbers as it lists them).
    const char* head = std::getenv("SDL_VIDEO_FULLSCREEN_DISPLAY");
    if (!head) head = std::getenv("SDL_VIDEO_FULLSCREEN_HEAD");
    const std::vector<Area> monitors = read();
    const long index = head && head_from_environment ? std::atol(head) : 0;
    return (index > 0 && pick(monitors, size_t(index), area)) || pick(monitors, 0, area);
}

// What every window system shares.
#include "platform/Monitor_list.h"

bool Monitor_list::primary(Area& area)
{
    const std::vector<Area> monitors = read();
    if (monitors.empty() || monitors[0].width <= 0 || monitors[0].height <= 0) return false;
    area = monitors[0];
    return true;
}

// The choice of monitors, the same on every window system.
#include "platform/Monitor_cover.h"

namespace {

bool overlap(const Monitor_cover::Area& a, const Monitor_cover::Area& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool same(const Monitor_cover::Area& a, const Monitor_cover::Area& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

std::vector<Monitor_cover::Area> Monitor_cover::to_cover(const std::vector<Area>& monitors, size_t garden)
{
    std::vector<Area> result;
    if (garden >= monitors.size()) return result;
    for (const Area& m : monitors) {
        if (m.width <= 0 || m.height <= 0 || overlap(m, monitors[garden])) continue;
        bool listed = false;
        for (const Area& r : result) listed = listed || same(r, m);
        if (!listed) result.push_back(m);
    }
    return result;
}

// The choice of monitors, the same on every window system.
#include "platform/Monitor_cover.h"

namespace {

bool overlap(const Monitor_cover::Area& a, const Monitor_cover::Area& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool inside(const Monitor_cover::Area& a, const Monitor_cover::Area& b)
{
    return a.x >= b.x && a.y >= b.y && a.x + a.width <= b.x + b.width && a.y + a.height <= b.y + b.height;
}

}  // namespace

std::vector<Monitor_cover::Area> Monitor_cover::to_cover(const std::vector<Area>& monitors, const Area& garden)
{
    std::vector<Area> result;
    for (const Area& m : monitors) {
        if (m.width <= 0 || m.height <= 0 || overlap(m, garden)) continue;
        bool covered = false;
        for (const Area& r : result) covered = covered || inside(m, r);
        if (covered) continue;
        // A larger monitor takes the place of those it holds.
        std::vector<Area> kept;
        for (const Area& r : result)
            if (!inside(r, m)) kept.push_back(r);
        kept.push_back(m);
        result.swap(kept);
    }
    return result;
}

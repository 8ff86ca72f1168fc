#include "platform/Monitor_views.h"

#include <algorithm>
#include <cmath>

namespace {

const double garden_fov_y = 45.0;
const double degrees_per_radian = 57.29577951308232;

using Area = Monitor_views::Area;

bool overlap(const Area& a, const Area& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool empty(const Area& a) { return a.width <= 0 || a.height <= 0; }

Area box_round(const Area& a, const Area& b)
{
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.width, b.x + b.width), y1 = std::max(a.y + a.height, b.y + b.height);
    return {x0, y0, x1 - x0, y1 - y0};
}

// The boxes of the groups, in the order of their first monitors: each
// monitor starts as a group of its own, and two groups whose boxes overlap
// become one, until none do.
std::vector<Area> groups(const std::vector<Area>& monitors, const Area& window)
{
    std::vector<Area> boxes;
    for (const Area& m : monitors)
        if (!empty(m) && overlap(m, window)) boxes.push_back(m);
    bool joined = true;
    while (joined) {
        joined = false;
        // The grown box may reach any other group: look again from the start.
        for (size_t i = 0; i < boxes.size() && !joined; ++i)
            for (size_t j = i + 1; j < boxes.size() && !joined; ++j) {
                if (!overlap(boxes[i], boxes[j])) continue;
                boxes[i] = box_round(boxes[i], boxes[j]);
                boxes.erase(boxes.begin() + long(j));
                joined = true;
            }
    }
    return boxes;
}

}  // namespace

std::vector<Monitor_views::View> Monitor_views::of(const std::vector<Area>& monitors, const Area& window)
{
    std::vector<View> views;
    for (const Area& m : groups(monitors, window)) {
        View v;
        v.x = m.x - window.x;
        // GL counts rows from the bottom of the window, the desktop from its top.
        v.y = window.y + window.height - (m.y + m.height);
        v.width = m.width;
        v.height = m.height;
        v.aspect = float(m.width) / float(m.height);
        v.fov_y = fov_y(v.aspect);
        views.push_back(v);
    }
    return views;
}

double Monitor_views::fov_y(float aspect)
{
    if (!(aspect < 1.0f) || aspect <= 0.0f) return garden_fov_y;
    // The horizontal field of a square view (45 degrees) on a narrower one.
    const double half = std::tan(garden_fov_y / 2.0 / degrees_per_radian);
    return 2.0 * std::atan(half / double(std::max(aspect, narrowest_widened))) * degrees_per_radian;
}

#include "platform/Monitor_views.h"

#include <cmath>

namespace {

const double garden_fov_y = 45.0;
const double degrees_per_radian = 57.29577951308232;

bool overlap(const Monitor_views::Area& a, const Monitor_views::Area& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool inside(const Monitor_views::Area& a, const Monitor_views::Area& b)
{
    return a.x >= b.x && a.y >= b.y && a.x + a.width <= b.x + b.width && a.y + a.height <= b.y + b.height;
}

bool empty(const Monitor_views::Area& a) { return a.width <= 0 || a.height <= 0; }

// Whether another monitor of the list shows everything `i` would: it holds
// `i` and is larger, or equal to it and listed first.
bool shown_by_another(const std::vector<Monitor_views::Area>& monitors, size_t i)
{
    for (size_t j = 0; j < monitors.size(); ++j) {
        if (j == i || empty(monitors[j]) || !inside(monitors[i], monitors[j])) continue;
        if (!inside(monitors[j], monitors[i]) || j < i) return true;
    }
    return false;
}

}  // namespace

std::vector<Monitor_views::View> Monitor_views::of(const std::vector<Area>& monitors, const Area& window)
{
    std::vector<View> views;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const Area& m = monitors[i];
        if (empty(m) || !overlap(m, window) || shown_by_another(monitors, i)) continue;
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
    return 2.0 * std::atan(half / double(aspect)) * degrees_per_radian;
}

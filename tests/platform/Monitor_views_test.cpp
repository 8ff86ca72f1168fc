// Where each monitor's garden goes in one window over all of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Monitor_views.h"

namespace {

using Area = Monitor_views::Area;

// "WxH+X+Y aspect fov" per view, GL's y from the bottom.
std::string text(const std::vector<Monitor_views::View>& views)
{
    std::string s;
    for (const Monitor_views::View& v : views) {
        char one[96];
        std::snprintf(one, sizeof one, "%dx%d+%d+%d %.4f %.1f; ", v.width, v.height, v.x, v.y, double(v.aspect),
                      v.fov_y);
        s += one;
    }
    return s;
}

// The window over all monitors, as the desktop gives it: their bounding box.
Area bounds(const std::vector<Area>& monitors)
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const Area& m = monitors[i];
        x0 = i ? std::min(x0, m.x) : m.x;
        y0 = i ? std::min(y0, m.y) : m.y;
        x1 = i ? std::max(x1, m.x + m.width) : m.x + m.width;
        y1 = i ? std::max(y1, m.y + m.height) : m.y + m.height;
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace

TEST(Monitor_views, each_monitor_gets_a_viewport_at_its_place_counted_from_the_bottom_in_its_own_shape)
{
    const Area primary{0, 0, 1920, 1080};
    const struct {
        const char* what;
        std::vector<Area> monitors;
        std::string views;
    } table[] = {
        {"one monitor", {primary}, "1920x1080+0+0 1.7778 45.0; "},
        {"two equal side by side", {{0, 0, 800, 600}, {800, 0, 800, 600}},
         "800x600+0+0 1.3333 45.0; 800x600+800+0 1.3333 45.0; "},
        // The 4:3 one is lower: its top row is the bounding box's row 120.
        {"16:9 beside a lower 4:3, tops not level", {{0, 0, 1280, 720}, {1280, 120, 800, 600}},
         "1280x720+0+0 1.7778 45.0; 800x600+1280+0 1.3333 45.0; "},
        {"left of the primary (negative x)", {primary, {-1280, 0, 1280, 1024}},
         "1920x1080+1280+0 1.7778 45.0; 1280x1024+0+56 1.2500 45.0; "},
        {"above the primary (negative y)", {primary, {0, -1080, 1920, 1080}},
         "1920x1080+0+0 1.7778 45.0; 1920x1080+0+1080 1.7778 45.0; "},
        // As wide as a square view: 2 atan(tan 22.5 / (1080 / 1920)).
        {"portrait, wider view", {primary, {1920, 0, 1080, 1920}},
         "1920x1080+0+840 1.7778 45.0; 1080x1920+1920+0 0.5625 72.7; "},
        {"a gap between them", {primary, {2420, 0, 800, 600}},
         "1920x1080+0+0 1.7778 45.0; 800x600+2420+480 1.3333 45.0; "},
        {"a mirror and a smaller mirror draw once", {primary, primary, {0, 0, 1024, 768}}, "1920x1080+0+0 1.7778 45.0; "},
        {"a larger mirror listed last wins", {{0, 0, 1024, 768}, primary}, "1920x1080+0+0 1.7778 45.0; "},
        // Both show the pixels of 1280x768 at 0,0: one garden over both.
        {"mirrors of different sizes, neither inside the other", {{0, 0, 1366, 768}, {0, 0, 1280, 1024}},
         "1366x1024+0+0 1.3340 45.0; "},
        // 2 atan(tan 22.5 / 0.5): the background reaches no further.
        {"a portrait narrower than 1:2, widened as 1:2", {primary, {1920, 0, 720, 1920}},
         "1920x1080+0+840 1.7778 45.0; 720x1920+1920+0 0.3750 79.3; "},
        {"an empty monitor draws nothing", {primary, {1920, 0, 0, 0}}, "1920x1080+0+0 1.7778 45.0; "},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        const Area box = bounds(row.monitors);
        EXPECT_EQ(row.views, text(Monitor_views::of(row.monitors, box)));
    }
}

TEST(Monitor_views, a_monitor_the_window_does_not_reach_gets_no_view)
{
    // The window still spans the old layout when a monitor is added beside it.
    const std::vector<Area> monitors{{0, 0, 800, 600}, {800, 0, 800, 600}};
    EXPECT_EQ("800x600+0+0 1.3333 45.0; ", text(Monitor_views::of(monitors, {0, 0, 800, 600})));
}

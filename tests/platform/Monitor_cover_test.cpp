// Which monitors the full screen's covers go on, for the layouts a desk can
// have: side by side, stacked, mirrored, listed twice, a garden monitor
// listed other than first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Monitor_cover.h"

namespace {

using Area = Monitor_cover::Area;

std::string text(const std::vector<Area>& areas)
{
    std::string s;
    for (const Area& a : areas)
        s += std::to_string(a.width) + "x" + std::to_string(a.height) + "+" + std::to_string(a.x) + "+" +
             std::to_string(a.y) + " ";
    return s;
}

struct Layout {
    const char* what;
    std::vector<Area> monitors;
    size_t garden;
    std::string covered;
};

}  // namespace

TEST(Monitor_cover, covers_every_monitor_apart_from_the_garden_s)
{
    const Layout layouts[] = {
        {"one monitor", {{0, 0, 1024, 768}}, 0, ""},
        {"two side by side", {{0, 0, 800, 600}, {800, 0, 800, 600}}, 0, "800x600+800+0 "},
        {"the garden's listed second", {{1920, 0, 1280, 1024}, {0, 0, 1920, 1080}}, 1, "1280x1024+1920+0 "},
        {"left of the primary", {{0, 0, 800, 600}, {-1280, 0, 1280, 1024}}, 0, "1280x1024+-1280+0 "},
        {"stacked, three", {{0, 0, 800, 600}, {0, 600, 800, 600}, {0, -600, 800, 600}}, 0,
         "800x600+0+600 800x600+0+-600 "},
        {"a smaller mirror of the garden's", {{0, 0, 1024, 768}, {0, 0, 800, 600}}, 0, ""},
        {"a mirror overlapping by one pixel", {{0, 0, 800, 600}, {799, 0, 800, 600}}, 0, ""},
        {"a second monitor listed twice", {{0, 0, 800, 600}, {800, 0, 800, 600}, {800, 0, 800, 600}}, 0,
         "800x600+800+0 "},
        {"an empty head", {{0, 0, 800, 600}, {800, 0, 0, 600}}, 0, ""},
        {"no monitors found", {}, 0, ""},
    };
    for (const Layout& l : layouts)
        EXPECT_EQ(text(Monitor_cover::to_cover(l.monitors, l.garden)), l.covered) << l.what;
}

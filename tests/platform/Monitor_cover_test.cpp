// Which monitors the full screen's covers go on.
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

}  // namespace

TEST(Monitor_cover, covers_each_monitor_the_garden_does_not_reach_once_and_never_one_inside_another)
{
    const Area left{0, 0, 800, 600}, right{800, 0, 800, 600}, far{1600, 0, 1024, 768};
    const struct {
        const char* what;
        std::vector<Area> monitors;
        Area garden;
        std::string covers;
    } table[] = {
        {"one monitor", {left}, left, ""},
        {"the garden on the primary", {left, right}, left, "800x600+800+0 "},
        {"the garden on the second head", {left, right}, right, "800x600+0+0 "},
        {"a fixed mode centred on its monitor", {left, right}, {200, 150, 400, 300}, "800x600+800+0 "},
        {"a mirror of the garden's monitor stays uncovered", {left, {0, 0, 640, 480}, right}, left, "800x600+800+0 "},
        {"a monitor listed twice", {left, right, right}, left, "800x600+800+0 "},
        {"a smaller mirror inside one to cover", {left, right, {800, 0, 640, 480}}, left, "800x600+800+0 "},
        {"a larger mirror listed last", {left, {800, 0, 640, 480}, right}, left, "800x600+800+0 "},
        {"three monitors", {left, right, far}, right, "800x600+0+0 1024x768+1600+0 "},
        {"an empty monitor", {left, {800, 0, 0, 600}}, left, ""},
    };
    for (const auto& row : table)
        EXPECT_EQ(text(Monitor_cover::to_cover(row.monitors, row.garden)), row.covers) << row.what;
}

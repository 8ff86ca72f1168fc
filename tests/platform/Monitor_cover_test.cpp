// Which monitors the full screen's covers go on, for the layouts a desk can have.
#include <gtest/gtest.h>

#include "platform/Monitor_cover.h"

TEST(Monitor_cover, covers_every_monitor_that_shares_no_pixel_with_the_garden_s_once)
{
    using Areas = std::vector<Monitor_cover::Area>;
    const Monitor_cover::Area a{0, 0, 800, 600}, right{800, 0, 800, 600}, left{-1280, 0, 1280, 1024};
    const struct {
        const char* what;
        Areas monitors;
        size_t garden;
        size_t covered;  // how many; the garden's own (at x 0) is never one
    } layouts[] = {
        {"one monitor", {a}, 0, 0},
        {"side by side", {a, right}, 0, 1},
        {"the garden's listed second", {right, a}, 1, 1},
        {"left of the garden's", {a, left}, 0, 1},
        {"a smaller mirror", {{0, 0, 1024, 768}, a}, 0, 0},
        {"overlapping by a pixel", {a, {799, 0, 800, 600}}, 0, 0},
        {"listed twice", {a, right, right}, 0, 1},
        {"an empty head", {a, {800, 0, 0, 600}}, 0, 0},
        {"none found", {}, 0, 0},
    };
    for (const auto& l : layouts) {
        const Areas covered = Monitor_cover::to_cover(l.monitors, l.garden);
        ASSERT_EQ(covered.size(), l.covered) << l.what;
        for (const Monitor_cover::Area& c : covered) EXPECT_NE(c.x, 0) << l.what;
    }
}

// The head SDL_VIDEO_FULLSCREEN_HEAD names is where the full screen goes, on
// an X server of the test's own with two screens joined by Xinerama (Xvfb
// puts both heads at 0,0: their sizes tell them apart).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Monitor_list.h"
#include "tests/support/Private_x_server.h"

TEST(Fullscreen_head, the_named_head_or_else_the_primary)
{
    Private_x_server server({"+xinerama", "-screen", "1", "800x600x24"});
    // A test that cannot get its server fails: a skip would count as passed.
    ASSERT_FALSE(server.name.empty()) << "no private Xvfb with two screens";
    const std::string display_before = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", server.name.c_str(), 1);
    unsetenv("SDL_VIDEO_FULLSCREEN_DISPLAY");
    const struct {
        const char* head;  // null: unset
        int x, width, height;
    } rows[] = {
        {nullptr, 0, 1024, 768}, {"0", 0, 1024, 768}, {"1", 0, 800, 600}, {"2", 0, 1024, 768},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.head ? row.head : "unset");
        if (row.head)
            setenv("SDL_VIDEO_FULLSCREEN_HEAD", row.head, 1);
        else
            unsetenv("SDL_VIDEO_FULLSCREEN_HEAD");
        Monitor_list::Area area;
        ASSERT_TRUE(Monitor_list::full_screen(area));
        EXPECT_EQ(area.x, row.x);
        EXPECT_EQ(area.y, 0);
        EXPECT_EQ(area.width, row.width);
        EXPECT_EQ(area.height, row.height);
    }
    unsetenv("SDL_VIDEO_FULLSCREEN_HEAD");
    setenv("DISPLAY", display_before.c_str(), 1);
}

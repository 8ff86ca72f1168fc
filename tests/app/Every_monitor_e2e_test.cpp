// The real saver's desktop mode on an X server with several monitors
// (tests/app/run_monitor_e2e.sh starts them: two equal ones, then a 16:9
// one beside a lower 4:3 one): each monitor shows a whole garden in its own
// shape, equal monitors the same picture, the rest of the screen stays
// black, no display mode changes, Escape ends it with 0. Monitors are read
// from xrandr, as a user sees them. Skipped with fewer than two.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/Video_mode.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

namespace {

const int timeout_ms = 30000;

struct Monitor {
    int x, y, width, height;
};

std::string command_output(const char* command)
{
    FILE* pipe = popen(command, "r");
    if (!pipe) return std::string();
    std::string text;
    char buf[512];
    while (fgets(buf, sizeof buf, pipe)) text += buf;
    pclose(pipe);
    return text;
}

// " 0: +*DUMMY0 800/212x600/159+0+0  DUMMY0" per monitor.
std::vector<Monitor> monitors()
{
    std::vector<Monitor> found;
    const std::string text = command_output("xrandr --listmonitors 2>/dev/null");
    for (size_t at = text.find('\n'); at != std::string::npos && at + 1 < text.size(); at = text.find('\n', at + 1)) {
        Monitor m{};
        int mm_w = 0, mm_h = 0;
        const size_t slash = text.find(' ', text.find_first_not_of(" 0123456789:+*", at + 1));
        if (slash == std::string::npos ||
            std::sscanf(text.c_str() + slash, " %d/%dx%d/%d+%d+%d", &m.width, &mm_w, &m.height, &mm_h, &m.x, &m.y) != 6)
            continue;
        found.push_back(m);
    }
    return found;
}

// Each output's mode and place: what must not change.
std::string display_modes() { return command_output("xrandr --current 2>/dev/null | grep -v '^ '"); }

double distance(const X_display::Picture::Mean& a, const X_display::Picture::Mean& b)
{
    return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
}

}  // namespace

TEST(Every_monitor, the_desktop_mode_shows_a_whole_garden_on_each_monitor_in_its_own_shape)
{
    const std::vector<Monitor> screens = monitors();
    if (screens.size() < 2) GTEST_SKIP() << "needs an X server with two monitors";
    Install_folder install;
    // The real packs: each garden is judged by its sky and meadow.
    for (const char* pack : {"main.pak", "butterfly1.pak", "butterfly2.pak", "butterfly3.pak", "butterfly4.pak",
                             "butterfly5.pak"})
        std::filesystem::copy_file(std::string(GARDENLUME_BIN_DIR) + "/" + pack, install.path() + pack);
    ASSERT_TRUE(install.write_cfg(0, Video_mode::desktop_index));
    const std::string modes = display_modes();
    Saver_process saver;
    saver.set_argv0("/opt/gardenlume/gardenlume.scr");
    const auto before = X_display::mapped_windows();
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
    EXPECT_TRUE(X_display::wait_for_new_window(before, timeout_ms)) << saver.describe();
    std::this_thread::sleep_for(std::chrono::milliseconds(3000));
    const X_display::Picture shot = X_display::grab();
    EXPECT_EQ(modes, display_modes()) << "a display mode changed";
    X_display::key("Escape");
    EXPECT_TRUE(saver.wait(timeout_ms)) << "the saver ran on";
    EXPECT_EQ(saver.exit_code(), 0) << saver.describe() << " " << saver.stderr_text();
    EXPECT_EQ(modes, display_modes()) << "a display mode was not given back";

    long shown = 0;
    for (const Monitor& m : screens) {
        SCOPED_TRACE(std::to_string(m.width) + "x" + std::to_string(m.height) + "+" + std::to_string(m.x));
        const auto sky = shot.mean(m.x, m.y, m.x + m.width, m.y + m.height / 12);
        const auto meadow = shot.mean(m.x, m.y + m.height * 11 / 12, m.x + m.width, m.y + m.height);
        const auto centre = shot.mean(m.x + m.width * 3 / 8, m.y + m.height * 3 / 8, m.x + m.width * 5 / 8,
                                      m.y + m.height * 5 / 8);
        EXPECT_GT(sky.b, sky.r + 20) << "no sky along the top";
        EXPECT_GT(meadow.g, meadow.r) << "no meadow along the bottom";
        EXPECT_GT(meadow.g, meadow.b);
        EXPECT_GT(centre.g, centre.b) << "no garden at the centre";
        for (const auto& edge : {shot.mean(m.x, m.y, m.x + 6, m.y + m.height),
                                 shot.mean(m.x + m.width - 6, m.y, m.x + m.width, m.y + m.height)})
            EXPECT_GT(edge.r + edge.g + edge.b, 150) << "an edge of the monitor is dark";
        shown += long(m.width) * m.height;
    }
    // Equal monitors, the same picture: compared in a coarse grid, so that
    // a pixel's rounding does not count.
    const Monitor& a = screens[0];
    for (const Monitor& b : screens)
        if (&b != &a && b.width == a.width && b.height == a.height)
            for (int gy = 0; gy < 8; ++gy)
                for (int gx = 0; gx < 8; ++gx) {
                    const int x0 = gx * a.width / 8, y0 = gy * a.height / 8, x1 = (gx + 1) * a.width / 8,
                              y1 = (gy + 1) * a.height / 8;
                    EXPECT_LT(distance(shot.mean(a.x + x0, a.y + y0, a.x + x1, a.y + y1),
                                       shot.mean(b.x + x0, b.y + y0, b.x + x1, b.y + y1)),
                              6.0)
                        << "cell " << gx << "," << gy << " differs between equal monitors";
                }
    // The rest of the screen (a corner no monitor shows) stays black.
    if (shown < long(shot.width) * shot.height) {
        const Monitor& last = screens.back();
        if (last.y > 0) {
            const auto corner = shot.mean(last.x, 0, last.x + last.width, last.y);
            EXPECT_LT(corner.r + corner.g + corner.b, 6) << "the space above the lower monitor is not black";
        }
    }
    if (HasFailure()) X_display::save_png(shot, "/tmp/gardenlume_every_monitor.png");
}

// The real saver on a new user's desktop: one 1920x1080 monitor whose mode
// list also holds 1024x768 and 800x600 (tests/app/run_monitor_e2e.sh starts
// such a server). The desktop screen mode fills it edge to edge; a fixed,
// smaller one shows centred with black borders; neither ever changes the
// display mode. Skipped on other servers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "app/Video_mode.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

namespace {

const int timeout_ms = 30000;

// The screen's size and the monitor's mode as xrandr reports them:
// "current 1920 x 1080 | DUMMY0 connected primary 1920x1080+0+0".
std::string display_mode()
{
    FILE* xrandr = popen("xrandr --current 2>/dev/null", "r");
    if (!xrandr) return "no xrandr";
    std::string text, line;
    char buf[512];
    while (fgets(buf, sizeof buf, xrandr)) text += buf;
    pclose(xrandr);
    std::string result;
    const size_t current = text.find("current ");
    if (current != std::string::npos) result = text.substr(current, text.find(',', current) - current);
    const size_t output = text.find("DUMMY0 ");
    if (output != std::string::npos) result += " | " + text.substr(output, text.find(" (", output) - output);
    return result;
}

// Every mode seen, sampled every 100 ms while it lives.
class Mode_watch {
public:
    Mode_watch()
        : thread([this] {
              while (!stop) {
                  const std::string mode = display_mode();
                  {
                      std::lock_guard<std::mutex> lock(mutex);
                      seen.insert(mode);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
          })
    {
    }
    ~Mode_watch() { finish(); }
    std::set<std::string> finish()
    {
        stop = true;
        if (thread.joinable()) thread.join();
        std::lock_guard<std::mutex> lock(mutex);
        return seen;
    }

private:
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::set<std::string> seen;
    std::thread thread;
};

bool lit(const X_display::Picture::Mean& m) { return m.r + m.g + m.b > 60; }
bool black(const X_display::Picture::Mean& m) { return m.r + m.g + m.b < 12; }

class Desktop_monitor : public ::testing::Test {
protected:
    void SetUp() override
    {
        const X_display::Picture screen = X_display::grab();
        if (screen.width != 1920 || screen.height != 1080) GTEST_SKIP() << "needs the 1920x1080 X server";
        desktop_mode = display_mode();
        ASSERT_NE(desktop_mode.find("current 1920 x 1080"), std::string::npos) << desktop_mode;
        // The real packs: the picture is judged by its sky and meadow.
        for (const char* pack : {"main.pak", "butterfly1.pak", "butterfly2.pak", "butterfly3.pak",
                                 "butterfly4.pak", "butterfly5.pak"})
            std::filesystem::copy_file(std::string(GARDENLUME_BIN_DIR) + "/" + pack, install.path() + pack);
    }

    // Runs /s in `mode` for a few seconds; the picture, and every display
    // mode seen until the saver has ended on Escape with 0.
    X_display::Picture run(int32_t mode)
    {
        EXPECT_TRUE(install.write_cfg(0, mode));
        Mode_watch watch;
        Saver_process saver;
        saver.set_argv0("/opt/gardenlume/gardenlume.scr");
        const auto before = X_display::mapped_windows();
        EXPECT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
        EXPECT_TRUE(X_display::wait_for_new_window(before, timeout_ms)) << saver.describe();
        std::this_thread::sleep_for(std::chrono::milliseconds(3000));
        const X_display::Picture shot = X_display::grab();
        X_display::key("Escape");
        EXPECT_TRUE(saver.wait(timeout_ms)) << "the saver ran on";
        EXPECT_EQ(saver.exit_code(), 0) << saver.describe() << " " << saver.stderr_text();
        for (const std::string& seen : watch.finish()) EXPECT_EQ(seen, desktop_mode) << "the display mode changed";
        return shot;
    }

    Install_folder install;
    std::string desktop_mode;
};

}  // namespace

TEST_F(Desktop_monitor, the_desktop_mode_fills_the_monitor_edge_to_edge_without_a_mode_change)
{
    const X_display::Picture shot = run(Video_mode::desktop_index);
    ASSERT_EQ(shot.width, 1920);
    const auto sky = shot.mean(0, 0, 1920, 60);
    const auto meadow = shot.mean(0, 1020, 1920, 1080);
    EXPECT_GT(sky.b, sky.r) << "no sky along the top";
    EXPECT_GT(sky.b, 120);
    EXPECT_GT(meadow.g, meadow.r) << "no meadow along the bottom";
    EXPECT_GT(meadow.g, meadow.b);
    EXPECT_TRUE(lit(shot.mean(0, 0, 8, 1080))) << "the left edge is dark";
    EXPECT_TRUE(lit(shot.mean(1912, 0, 1920, 1080))) << "the right edge is dark";
    if (HasFailure()) X_display::save_png(shot, "/tmp/gardenlume_desktop_mode.png");
}

TEST_F(Desktop_monitor, a_smaller_fixed_mode_shows_centred_with_black_borders)
{
    const X_display::Picture shot = run(5);  // 1024x768 of 1920x1080: borders of 448 and 156
    ASSERT_EQ(shot.width, 1920);
    EXPECT_TRUE(black(shot.mean(0, 0, 440, 1080))) << "left border";
    EXPECT_TRUE(black(shot.mean(1480, 0, 1920, 1080))) << "right border";
    EXPECT_TRUE(black(shot.mean(448, 0, 1472, 150))) << "top border";
    EXPECT_TRUE(black(shot.mean(448, 930, 1472, 1080))) << "bottom border";
    EXPECT_TRUE(lit(shot.mean(456, 164, 1464, 200))) << "no sky at the picture's top";
    EXPECT_TRUE(lit(shot.mean(456, 880, 1464, 916))) << "no meadow at the picture's bottom";
    if (HasFailure()) X_display::save_png(shot, "/tmp/gardenlume_fixed_mode.png");
}

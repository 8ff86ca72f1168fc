// The real saver on an X server with two 800x600 monitors side by side
// (tests/app/run_monitor_e2e.sh starts one), a user's red window on the
// second: full screen blacks it out until the saver ends, however it ends;
// a hosted run leaves it in view. Skipped on other servers.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "tests/support/Host_test_window.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

namespace {

const int timeout_ms = 30000;

// A red window over most of the second monitor (an X client of its own).
bool open_red_window(Saver_process& xlogo)
{
    return xlogo.start("/usr/bin/xlogo", {"-bg", "red", "-fg", "red", "-geometry", "700x500+850+50"});
}

// Waits until the red window's place on the second monitor is red (or black).
bool second_monitor_shows(bool red, int ms = timeout_ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const X_display::Picture p = X_display::grab();
        const X_display::Picture::Mean m = p.width >= 1600 ? p.mean(860, 60, 1540, 540) : X_display::Picture::Mean{};
        if (red ? m.r > 200 && m.g + m.b < 40 : p.width >= 1600 && m.r + m.g + m.b < 24) return true;
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

class Two_monitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (X_display::grab().width != 1600) GTEST_SKIP() << "needs the two-monitor X server";
        ASSERT_TRUE(install.write_packs());
        ASSERT_TRUE(open_red_window(red_window));
        ASSERT_TRUE(second_monitor_shows(true)) << "the red window is not in view";
        // The keyboard focus on the user's window: Escape must still count.
        std::system("xdotool search --classname xlogo windowfocus >/dev/null 2>&1");
    }

    // Mode 3 is 800x600, the monitors' size.
    void start(Saver_process& run, uint8_t mouse_exit, const std::vector<std::string>& args, int32_t mode = 3)
    {
        ASSERT_TRUE(install.write_cfg(mouse_exit, mode));
        run.set_argv0("/opt/gardenlume/gardenlume.scr");
        ASSERT_TRUE(run.start(Saver_process::saver_path(), args, install.environment()));
    }

    // Ended with 0, and the red window is in view again at once.
    void expect_end_and_red_back(Saver_process& run)
    {
        ASSERT_TRUE(run.wait(timeout_ms)) << "the saver ran on";
        EXPECT_EQ(run.exit_code(), 0) << run.describe() << " " << run.stderr_text();
        EXPECT_TRUE(second_monitor_shows(true, 0)) << "the second monitor stayed covered";
    }

    Install_folder install;
    Saver_process red_window;
};

}  // namespace

TEST_F(Two_monitors, full_screen_blacks_out_the_second_monitor_until_escape_signal_or_movement_ends_it)
{
    const struct {
        const char* what;
        uint8_t mouse_exit;
        void (*end)(Saver_process&);
    } endings[] = {
        {"Escape", 0, [](Saver_process&) { X_display::key("Escape"); }},
        {"SIGTERM", 0, [](Saver_process& s) { s.send_signal(SIGTERM); }},
        // Two places: the pointer, held on the garden's monitor, may already sit where one is held.
        {"movement with the mouse rule", 1,
         [](Saver_process&) {
             X_display::mouse_move(1200, 300);
             X_display::mouse_move(1300, 400);
         }},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.what);
        Saver_process saver;
        start(saver, ending.mouse_exit, {"/s"});
        EXPECT_TRUE(second_monitor_shows(false)) << saver.describe();
        std::this_thread::sleep_for(std::chrono::milliseconds(4500));  // past the mouse rule's 3000 ms
        ending.end(saver);
        expect_end_and_red_back(saver);
    }
}

TEST_F(Two_monitors, a_window_opened_on_the_second_monitor_meanwhile_goes_under_the_cover)
{
    Saver_process saver, late;
    start(saver, 0, {"/s"});
    EXPECT_TRUE(second_monitor_shows(false));
    const auto before = X_display::mapped_windows();
    ASSERT_TRUE(open_red_window(late));
    ASSERT_TRUE(X_display::wait_for_new_window(before, timeout_ms));
    EXPECT_TRUE(second_monitor_shows(false)) << "the late window stays in view";
    X_display::key("Escape");
    expect_end_and_red_back(saver);
}

TEST_F(Two_monitors, a_hosted_run_leaves_the_second_monitor_in_view)
{
    Host_test_window host(640, 480);
    Saver_process run;
    start(run, 0, {"--window-id", host.hex_id()});
    EXPECT_TRUE(run.stays_running(3000)) << run.describe();
    EXPECT_TRUE(second_monitor_shows(true, 0));
    run.send_signal(SIGTERM);
    expect_end_and_red_back(run);
}

TEST_F(Two_monitors, the_desktop_mode_fills_the_primary_monitor_and_blacks_out_the_other)
{
    Saver_process saver;
    start(saver, 0, {"/s"}, 18);
    EXPECT_TRUE(second_monitor_shows(false)) << saver.describe();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const X_display::Picture shot = X_display::grab();
    ASSERT_EQ(shot.width, 1600);
    // The test packs' unlit background, edge to edge of the first monitor.
    const struct {
        const char* what;
        int x0, y0, x1, y1;
    } edges[] = {{"left", 0, 0, 6, 600}, {"right", 794, 0, 800, 600}, {"top", 0, 0, 800, 6}, {"bottom", 0, 594, 800, 600}};
    for (const auto& edge : edges) {
        const X_display::Picture::Mean m = shot.mean(edge.x0, edge.y0, edge.x1, edge.y1);
        EXPECT_GT(m.r + m.g + m.b, 150) << edge.what << " edge of the primary monitor is dark";
    }
    X_display::key("Escape");
    expect_end_and_red_back(saver);
}

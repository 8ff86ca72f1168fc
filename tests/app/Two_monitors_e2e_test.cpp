// The real saver on an X server with two 800x600 monitors side by side
// (tests/app/run_two_monitor_e2e.sh starts one), a user's red window on the
// second: full screen blacks it out until the saver ends, however it ends;
// windowed and hosted runs leave it in view. Skipped on other servers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/Host_test_window.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

namespace {

const int timeout_ms = 30000;

// A red window over most of the second monitor, with the keyboard focus.
struct Red_window {
    Red_window() : display(XOpenDisplay(nullptr))
    {
        if (!display) return;
        XColor red{};
        red.red = 0xffff;
        XAllocColor(display, DefaultColormap(display, 0), &red);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 850, 50, 700, 500, 0, 0, red.pixel);
        XMapRaised(display, window);
        XSync(display, False);
    }
    ~Red_window()
    {
        if (display) XCloseDisplay(display);
    }
    void focus()
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    Display* display;
    Window window = 0;
};

bool red(const X_display::Picture::Mean& m) { return m.r > 200 && m.g < 40 && m.b < 40; }
bool black(const X_display::Picture::Mean& m) { return m.r < 8 && m.g < 8 && m.b < 8; }

// Waits until the red window's place on the second monitor passes `test`.
bool second_monitor_shows(bool (*test)(const X_display::Picture::Mean&), int ms = timeout_ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const X_display::Picture p = X_display::grab();
        if (p.width >= 1600 && test(p.mean(860, 60, 1540, 540))) return true;
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

class Two_monitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (X_display::monitor_count() != 2) GTEST_SKIP() << "needs an X server with two monitors";
        ASSERT_TRUE(install.write_packs());
        ASSERT_TRUE(second_monitor_shows(red)) << "the red window is not in view";
        red_window.focus();
    }

    void start(Saver_process& run, uint8_t mouse_exit, const std::vector<std::string>& args)
    {
        ASSERT_TRUE(install.write_cfg(mouse_exit, 3));  // 800x600, the monitors' size
        run.set_argv0("/opt/gardenlume/gardenlume.scr");
        ASSERT_TRUE(run.start(Saver_process::saver_path(), args, install.environment()));
    }

    // Ended with 0, and the red window is in view again at once.
    void expect_end_and_red_back(Saver_process& run)
    {
        ASSERT_TRUE(run.wait(timeout_ms)) << "the saver ran on";
        EXPECT_EQ(run.exit_code(), 0) << run.describe() << " " << run.stderr_text();
        EXPECT_TRUE(second_monitor_shows(red, 0)) << "the second monitor stayed covered";
    }

    Install_folder install;
    Red_window red_window;
};

struct Ending {
    const char* name;
    uint8_t mouse_exit;
    void (*end)(Saver_process&);
};
void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.name; }

class Full_screen_ending : public Two_monitors, public ::testing::WithParamInterface<Ending> {};

}  // namespace

TEST_P(Full_screen_ending, blacks_out_the_second_monitor_until_the_end)
{
    Saver_process saver;
    start(saver, GetParam().mouse_exit, {"/s"});
    EXPECT_TRUE(second_monitor_shows(black)) << saver.describe();
    std::this_thread::sleep_for(std::chrono::milliseconds(4500));  // past the mouse rule's 3000 ms
    GetParam().end(saver);
    expect_end_and_red_back(saver);
}

// Escape with the focus left on the red window; movement towards the second
// monitor (the pointer stays on the garden's).
INSTANTIATE_TEST_SUITE_P(
    Two_monitors, Full_screen_ending,
    ::testing::Values(Ending{"escape", 0, [](Saver_process&) { X_display::key("Escape"); }},
                      Ending{"sigterm", 0, [](Saver_process& s) { s.send_signal(SIGTERM); }},
                      Ending{"late_movement_with_the_mouse_rule", 1,
                             [](Saver_process&) {
                                 // Two places: the pointer may already sit where one of them is held.
                                 X_display::mouse_move(1200, 300);
                                 X_display::mouse_move(1300, 400);
                             }}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

TEST_F(Two_monitors, a_window_opened_on_the_second_monitor_meanwhile_goes_under_the_cover)
{
    Saver_process saver;
    start(saver, 0, {"/s"});
    EXPECT_TRUE(second_monitor_shows(black));
    Red_window late;
    EXPECT_TRUE(second_monitor_shows(black)) << "the late window stays in view";
    X_display::key("Escape");
    expect_end_and_red_back(saver);
}

TEST_F(Two_monitors, windowed_and_hosted_runs_leave_the_second_monitor_in_view)
{
    Host_test_window host(640, 480);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--window"}, {"--window-id", host.hex_id()}}) {
        Saver_process run;
        start(run, 0, args);
        EXPECT_TRUE(run.stays_running(3000)) << args[0] << ": " << run.describe();
        EXPECT_TRUE(second_monitor_shows(red, 0)) << args[0];
        run.send_signal(SIGTERM);
        expect_end_and_red_back(run);
    }
}

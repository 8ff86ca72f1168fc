// The real saver on an X server with two 800x600 monitors side by side, the
// primary at 0,0 (tests/app/run_two_monitor_e2e.sh starts one): a full
// screen shows the garden on the primary and blacks out the other monitor,
// where a user's red window lies, until it ends, whatever ends it; a hosted
// or windowed run leaves the red window in view. Skipped on other servers.
// Waits are generous bounds for a busy machine, never measurements.
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

const int start_timeout_ms = 30000;
const int end_timeout_ms = 20000;
const int settle_ms = 3000;
const char* const saver_argv0 = "/opt/gardenlume/gardenlume.scr";
const int screen_mode_800x600 = 3;

// A plain red window over most of the second monitor, holding the keyboard
// focus, as a user's mail would.
class Red_window {
public:
    Red_window()
    {
        display = XOpenDisplay(nullptr);
        if (!display) return;
        const int screen = DefaultScreen(display);
        XColor red{};
        red.red = 0xffff;
        red.flags = DoRed | DoGreen | DoBlue;
        XAllocColor(display, DefaultColormap(display, screen), &red);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 850, 50, 700, 500, 0, 0, red.pixel);
        XMapRaised(display, window);
        XSync(display, False);
        // Mapping is asynchronous towards focus: wait until it is viewable.
        for (int i = 0; i < 100 && !viewable(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    ~Red_window()
    {
        if (display) XCloseDisplay(display);
    }
    Red_window(const Red_window&) = delete;
    Red_window& operator=(const Red_window&) = delete;
    bool ok() const { return window != 0; }

private:
    bool viewable()
    {
        XWindowAttributes a;
        return XGetWindowAttributes(display, window, &a) && a.map_state == IsViewable;
    }
    Display* display = nullptr;
    Window window = 0;
};

// What the second monitor shows, inside the red window's place.
X_display::Picture::Mean second_monitor()
{
    const X_display::Picture p = X_display::grab();
    if (p.width < 1600 || p.height < 600) return {-1, -1, -1};
    return p.mean(860, 60, 1540, 540);
}
bool red(const X_display::Picture::Mean& m) { return m.r > 200 && m.g < 40 && m.b < 40; }
bool black(const X_display::Picture::Mean& m) { return m.r >= 0 && m.r < 8 && m.g < 8 && m.b < 8; }
std::string text(const X_display::Picture::Mean& m)
{
    return std::to_string(int(m.r)) + " " + std::to_string(int(m.g)) + " " + std::to_string(int(m.b));
}

bool second_monitor_turns_black(int timeout_ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!black(second_monitor())) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

class Two_monitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!X_display::available() || X_display::monitor_count() != 2)
            GTEST_SKIP() << "needs an X server with two monitors";
        ASSERT_TRUE(install.ok());
        ASSERT_TRUE(install.write_packs());
        ASSERT_TRUE(red_window.ok());
        ASSERT_TRUE(red(second_monitor())) << "the red window is not in view: " << text(second_monitor());
    }

    // Starts the saver with `args` and waits for its first window.
    void start(uint8_t mouse_exit, const std::vector<std::string>& args)
    {
        ASSERT_TRUE(install.write_cfg(mouse_exit, screen_mode_800x600));
        const auto before = X_display::mapped_windows();
        saver.set_argv0(saver_argv0);
        ASSERT_TRUE(saver.start(Saver_process::saver_path(), args, install.environment()));
        started = std::chrono::steady_clock::now();
        ASSERT_TRUE(X_display::wait_for_new_window(before, start_timeout_ms))
            << "no window; saver " << saver.describe() << ", stderr: " << saver.stderr_text();
    }

    // The saver's 3000 ms of grace are surely over.
    void wait_past_grace() { std::this_thread::sleep_until(started + std::chrono::milliseconds(4500)); }

    // Ended with 0, silently, and the red window is in view again at once.
    void expect_clean_end_and_red_back()
    {
        ASSERT_TRUE(saver.wait(end_timeout_ms)) << "saver did not end";
        EXPECT_EQ(saver.exit_code(), 0) << saver.describe() << " " << saver.stderr_text();
        EXPECT_EQ(saver.stderr_text(), "");
        const X_display::Picture::Mean after = second_monitor();
        EXPECT_TRUE(red(after)) << "the second monitor shows " << text(after) << " after the end";
    }

    Install_folder install;
    Red_window red_window;
    Saver_process saver;
    std::chrono::steady_clock::time_point started;
};

void press_escape(Saver_process&) { X_display::key("Escape"); }
void send_sigterm(Saver_process& saver) { saver.send_signal(SIGTERM); }
void move_over_second_monitor(Saver_process&)
{
    X_display::mouse_move(1200, 300);
    X_display::mouse_move(1300, 400);
}

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
    start(GetParam().mouse_exit, {"/s"});
    EXPECT_TRUE(second_monitor_turns_black(start_timeout_ms)) << "shows " << text(second_monitor());
    wait_past_grace();
    GetParam().end(saver);
    expect_clean_end_and_red_back();
}

// Escape with the keyboard focus on the red window, as a user left it.
INSTANTIATE_TEST_SUITE_P(Two_monitors, Full_screen_ending,
                         ::testing::Values(Ending{"escape", 0, press_escape}, Ending{"sigterm", 0, send_sigterm},
                                           Ending{"late_movement_with_the_mouse_rule", 1,
                                                  move_over_second_monitor}),
                         [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

TEST_F(Two_monitors, movement_over_the_second_monitor_without_the_mouse_rule_ends_nothing)
{
    start(0, {"/s"});
    EXPECT_TRUE(second_monitor_turns_black(start_timeout_ms)) << "shows " << text(second_monitor());
    wait_past_grace();
    move_over_second_monitor(saver);
    EXPECT_TRUE(saver.stays_running(1500)) << saver.describe();
    EXPECT_TRUE(black(second_monitor()));
    press_escape(saver);
    expect_clean_end_and_red_back();
}

TEST_F(Two_monitors, a_window_opened_on_the_second_monitor_meanwhile_goes_under_the_cover)
{
    start(0, {"/s"});
    EXPECT_TRUE(second_monitor_turns_black(start_timeout_ms)) << "shows " << text(second_monitor());
    Red_window late;
    ASSERT_TRUE(late.ok());
    EXPECT_TRUE(second_monitor_turns_black(end_timeout_ms)) << "shows " << text(second_monitor());
    press_escape(saver);
    expect_clean_end_and_red_back();
}

TEST_F(Two_monitors, windowed_and_hosted_runs_leave_the_second_monitor_in_view)
{
    Host_test_window host(640, 480);
    ASSERT_TRUE(host.ok());
    const std::vector<std::vector<std::string>> runs = {{"--window"}, {"--window-id", host.hex_id()}};
    for (const auto& args : runs) {
        SCOPED_TRACE(args[0]);
        Saver_process run;
        ASSERT_TRUE(install.write_cfg(0, screen_mode_800x600));
        run.set_argv0(saver_argv0);
        ASSERT_TRUE(run.start(Saver_process::saver_path(), args, install.environment()));
        EXPECT_TRUE(run.stays_running(settle_ms)) << run.describe() << " " << run.stderr_text();
        const X_display::Picture::Mean shown = second_monitor();
        EXPECT_TRUE(red(shown)) << "the second monitor shows " << text(shown);
        run.send_signal(SIGTERM);
        ASSERT_TRUE(run.wait(end_timeout_ms));
        EXPECT_EQ(run.exit_code(), 0) << run.describe();
    }
}

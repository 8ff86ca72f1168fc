// The real saver on an X server with two 800x600 monitors side by side
// (tests/app/run_monitor_e2e.sh starts one), a user's red window on the
// second: full screen blacks it out until the saver ends, however it ends;
// a hosted run leaves it in view. Skipped on other servers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
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

// lit: anything bright; sky: the real packs' blue sky.
enum class Shows { red, black, lit, sky };

// Waits until the place [x0, x1) x [y0, y1) of the screen shows `what`.
bool place_shows(Shows what, int x0, int y0, int x1, int y1, int ms = timeout_ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const X_display::Picture p = X_display::grab();
        if (p.width >= x1 && p.height >= y1) {
            const X_display::Picture::Mean m = p.mean(x0, y0, x1, y1);
            const double sum = m.r + m.g + m.b;
            const bool shows = what == Shows::red     ? m.r > 200 && m.g + m.b < 40
                               : what == Shows::black ? sum < 24
                               : what == Shows::sky   ? m.b > m.r + 20 && m.b > 100
                                                      : sum > 150;
            if (shows) return true;
        }
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// Waits until the red window's place on the second monitor is red (or black).
bool second_monitor_shows(bool red, int ms = timeout_ms)
{
    return place_shows(red ? Shows::red : Shows::black, 860, 60, 1540, 540, ms);
}

// Sets the monitors with xrandr: DUMMY0 is the primary at 0,0, DUMMY1
// beside it, DUMMY2 a projector; put back as they were when it goes.
class Layout {
public:
    explicit Layout(const std::string& outputs) { set(outputs); }
    ~Layout() { set("--output DUMMY2 --off --output DUMMY1 --mode g800x600 --right-of DUMMY0"); }
    static void set(const std::string& outputs)
    {
        // The projector's mode, once per server (a second time fails harmlessly).
        std::system("xrandr --newmode g640x480 25.175 640 656 752 800 480 490 492 525 -hsync -vsync 2>/dev/null;"
                    " xrandr --addmode DUMMY2 g640x480 2>/dev/null");
        std::system(("xrandr " + outputs).c_str());
    }
};

// Restacks among the root's children, as a client watching them sees them.
class Restack_count {
public:
    Restack_count() : d(XOpenDisplay(nullptr))
    {
        if (d) XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask), XSync(d, True);
    }
    ~Restack_count()
    {
        if (d) XCloseDisplay(d);
    }
    int take()
    {
        int n = 0;
        while (d && XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            n += e.type == ConfigureNotify;
        }
        return n;
    }

private:
    Display* d;
};

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
    void start(Saver_process& run, uint8_t mouse_exit, const std::vector<std::string>& args, int32_t mode = 3,
               const Saver_process::Environment& more = {})
    {
        ASSERT_TRUE(install.write_cfg(mouse_exit, mode));
        run.set_argv0("/opt/gardenlume/gardenlume.scr");
        Saver_process::Environment env = install.environment();
        env.insert(env.end(), more.begin(), more.end());
        ASSERT_TRUE(run.start(Saver_process::saver_path(), args, env));
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

TEST_F(Two_monitors, the_desktop_mode_on_a_head_the_user_chose_fills_it_and_blacks_out_the_other)
{
    Saver_process saver;
    start(saver, 0, {"/s"}, 18, {{"SDL_VIDEO_FULLSCREEN_HEAD", "0"}});
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

TEST_F(Two_monitors, the_desktop_mode_follows_the_monitors_within_a_second)
{
    // The real packs: a garden is told from the desktop by its sky.
    for (const char* pack : {"main.pak", "butterfly1.pak", "butterfly2.pak", "butterfly3.pak", "butterfly4.pak",
                             "butterfly5.pak"})
        std::filesystem::copy_file(std::string(GARDENLUME_BIN_DIR) + "/" + pack, install.path() + pack,
                                   std::filesystem::copy_options::overwrite_existing);
    // A 640x480 projector beside the primary, then the 800x600 monitor in
    // its place: the garden must reach the columns the projector did not.
    Layout projector("--output DUMMY1 --off --output DUMMY2 --mode g640x480 --pos 800x0");
    Saver_process saver;
    start(saver, 0, {"/s"}, 18);
    ASSERT_TRUE(place_shows(Shows::sky, 800, 0, 1440, 30)) << saver.describe() << " " << saver.stderr_text();
    Layout::set("--output DUMMY2 --off --output DUMMY1 --mode g800x600 --right-of DUMMY0");
    EXPECT_TRUE(place_shows(Shows::sky, 1450, 0, 1600, 30, 1000)) << "the new monitor has no garden within a second";
    EXPECT_TRUE(place_shows(Shows::sky, 0, 0, 800, 30, 0)) << "the primary lost its garden";
    X_display::key("Escape");
    expect_end_and_red_back(saver);
}

TEST_F(Two_monitors, the_garden_put_on_the_second_head_stays_in_view_and_the_first_is_covered)
{
    Saver_process left_red;
    ASSERT_TRUE(left_red.start("/usr/bin/xlogo", {"-bg", "red", "-fg", "red", "-geometry", "700x500+50+50"}));
    ASSERT_TRUE(place_shows(Shows::red, 60, 60, 740, 540)) << "the red window on the first monitor is not in view";
    Saver_process saver;
    start(saver, 0, {"/s"}, 3, {{"SDL_VIDEO_FULLSCREEN_HEAD", "1"}});
    EXPECT_TRUE(place_shows(Shows::black, 60, 60, 740, 540)) << "the first monitor stayed in view";
    EXPECT_TRUE(place_shows(Shows::lit, 800, 0, 1600, 600)) << "the garden is covered";
    X_display::key("Escape");
    expect_end_and_red_back(saver);
    EXPECT_TRUE(place_shows(Shows::red, 60, 60, 740, 540, 0));
}

TEST_F(Two_monitors, covers_of_monitors_that_overlap_each_other_never_raise_one_another)
{
    // A projector of another size mirrors the second monitor.
    Layout projector("--output DUMMY2 --mode g640x480 --pos 800x0");
    Saver_process saver;
    start(saver, 0, {"/s"});
    ASSERT_TRUE(second_monitor_shows(false)) << saver.describe();
    Restack_count restacks;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    restacks.take();
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    EXPECT_LE(restacks.take(), 2) << "covers raised again and again";
    X_display::key("Escape");
    expect_end_and_red_back(saver);
}

TEST_F(Two_monitors, a_monitor_switched_on_while_the_garden_shows_is_covered_within_a_second)
{
    Layout one("--output DUMMY1 --off");
    Saver_process saver;
    start(saver, 0, {"/s"});
    ASSERT_TRUE(place_shows(Shows::lit, 0, 0, 800, 600)) << saver.describe() << " " << saver.stderr_text();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Layout::set("--output DUMMY1 --mode g800x600 --right-of DUMMY0");
    EXPECT_TRUE(second_monitor_shows(false, 1000)) << "not covered within a second";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(second_monitor_shows(false, 0)) << "the red window came back";
    X_display::key("Escape");
    expect_end_and_red_back(saver);
}

// The real saver drawing into a window a host lends it (--window-id), as the
// screensaver daemon's preview pane and full-screen window do: the whole
// picture at the window's own size, a resize followed, and a quiet end with
// exit code 0 on SIGTERM and when the window is destroyed. The waits are
// generous bounds, never measurements.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <csignal>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "tests/tools/artgen/Art_files.h"
#include "tests/support/Host_test_window.h"
#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

#include <GL/glx.h>  // Xlib too

namespace {

const int end_timeout_ms = 10000;
// Scene building and the first frames on the software renderer.
const int settle_ms = 3000;
const int resize_follow_ms = 1500;

using Mean = X_display::Picture::Mean;
Mean mean_of(const X_display::Picture& p, int x0, int y0, int x1, int y1) { return p.mean(x0, y0, x1, y1); }
bool black(const uint8_t* c) { return c[0] < 8 && c[1] < 8 && c[2] < 8; }

// The whole picture scaled into the window at the screen's top-left corner:
// sky along the top (both corners), meadow along the bottom, and no black
// column at the left or right edge.
void expect_whole_picture(const X_display::Picture& p, int w, int h, const std::string& what)
{
    ASSERT_GE(p.width, w);
    ASSERT_GE(p.height, h);
    const int band = std::max(2, h / 16);
    for (int x0 : {0, w - w / 8}) {
        Mean top = mean_of(p, x0, 0, x0 + w / 8, band);
        EXPECT_GT(top.b, top.g) << what << ": no sky at the top, x from " << x0;
        EXPECT_GT(top.b, top.r) << what << ": no sky at the top, x from " << x0;
        Mean bottom = mean_of(p, x0, h - band, x0 + w / 8, h);
        EXPECT_GT(bottom.g, bottom.b) << what << ": no meadow at the bottom, x from " << x0;
    }
    size_t black_edge = 0;
    for (int y = 0; y < h; y += 2)
        black_edge += black(p.at(0, y)) + black(p.at(1, y)) + black(p.at(w - 1, y)) + black(p.at(w - 2, y));
    EXPECT_EQ(0u, black_edge) << what << ": black at the window's left or right edge";
}

class Hosted_saver : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!X_display::available()) GTEST_SKIP() << "no X display to drive";
        ASSERT_TRUE(install.ok());
        for (const std::string& pack : art::pack_names()) {
            std::string bytes = art::slurp(art::bin_dir() + "/" + pack);
            ASSERT_FALSE(bytes.empty()) << pack << " was not built";
            ASSERT_TRUE(install.write_file(pack, bytes));
        }
        // The cfg's mode (1024 x 768) must not matter to a lent window.
        ASSERT_TRUE(install.write_cfg(0, 5));
    }

    bool start_in(const Host_test_window& window, std::vector<std::string> extra = {})
    {
        std::vector<std::string> args = {"--window-id", window.hex_id()};
        args.insert(args.end(), extra.begin(), extra.end());
        return saver.start(Saver_process::saver_path(), args, install.environment());
    }
    void expect_quiet_end(int timeout_ms)
    {
        ASSERT_TRUE(saver.wait(timeout_ms)) << "still running after " << timeout_ms << " ms";
        EXPECT_EQ(0, saver.exit_code()) << saver.describe();
        EXPECT_EQ("", saver.stderr_text());
    }

    Install_folder install;
    Saver_process saver;
};

}  // namespace

TEST_F(Hosted_saver, preview_pane_shows_the_whole_picture_and_follows_a_resize)
{
    Host_test_window pane(320, 240);
    ASSERT_TRUE(pane.ok());
    ASSERT_TRUE(start_in(pane));
    std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
    ASSERT_TRUE(saver.running()) << saver.describe() << ": " << saver.stderr_text();
    X_display::Picture small = X_display::grab();
    X_display::save_png(small, art::bin_dir() + "/../hosted_320x240_shot.png");
    expect_whole_picture(small, 320, 240, "320x240");

    // Both sides at once, then one side alone: the pane widened, then made
    // taller, each must be followed.
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{800, 480}, std::pair{800, 600}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        pane.resize(w, h);
        std::this_thread::sleep_for(std::chrono::milliseconds(resize_follow_ms));
        X_display::Picture shot = X_display::grab();
        X_display::save_png(shot, art::bin_dir() + "/../hosted_" + size + "_shot.png");
        expect_whole_picture(shot, w, h, size);
    }

    saver.send_signal(SIGTERM);
    expect_quiet_end(end_timeout_ms);
}

// The background reaches both side edges of the widest windows it is made
// for, and the narrowest; an upright one, seen wider, still shows sky along
// its top and meadow along its bottom.
TEST_F(Hosted_saver, background_covers_wide_and_narrow_windows)
{
    struct Shape {
        const char* name;
        int w, h;
    };
    for (const Shape& shape : {Shape{"16:9", 1024, 576}, Shape{"21:9", 1022, 438}, Shape{"5:4", 800, 640},
                              Shape{"9:16", 432, 768}}) {
        SCOPED_TRACE(shape.name);
        Host_test_window window(shape.w, shape.h);
        ASSERT_TRUE(window.ok());
        Saver_process run;
        ASSERT_TRUE(run.start(Saver_process::saver_path(), {"--window-id", window.hex_id()},
                              install.environment()));
        std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
        X_display::Picture shot = X_display::grab();
        X_display::save_png(shot, art::bin_dir() + "/../hosted_" + std::to_string(shape.w) + "x" +
                                      std::to_string(shape.h) + "_shot.png");
        expect_whole_picture(shot, shape.w, shape.h, shape.name);
        run.send_signal(SIGTERM);
        ASSERT_TRUE(run.wait(end_timeout_ms));
        EXPECT_EQ(0, run.exit_code()) << run.describe();
    }
}

TEST_F(Hosted_saver, never_grabs_input_and_sigterm_ends_it_within_half_a_second_quietly)
{
    Host_test_window pane(320, 240);
    ASSERT_TRUE(pane.ok());
    ASSERT_TRUE(start_in(pane));
    std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
    ASSERT_TRUE(saver.running()) << saver.describe() << ": " << saver.stderr_text();
    EXPECT_TRUE(pane.can_grab_input()) << "the hosted saver holds the keyboard or pointer";
    saver.send_signal(SIGTERM);
    expect_quiet_end(500);
}

// The lent window's visual has a packed depth-stencil buffer on Mesa's X
// servers: the saver draws into a child of its own with depth and no stencil.
TEST_F(Hosted_saver, draws_into_a_child_with_a_depth_buffer_and_no_stencil)
{
    Host_test_window pane(320, 240);
    ASSERT_TRUE(pane.ok() && start_in(pane));
    std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
    ::Display* d = XOpenDisplay(nullptr);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(d && XQueryTree(d, pane.id(), &root, &parent, &children, &count));
    ASSERT_EQ(1u, count) << "children of the lent window";
    XWindowAttributes child{};
    ASSERT_TRUE(XGetWindowAttributes(d, children[0], &child));
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(child.visual);
    int found = 0, depth_bits = 0, stencil_bits = -1;
    XVisualInfo* info = XGetVisualInfo(d, VisualIDMask, &wanted, &found);
    ASSERT_NE(nullptr, info);
    glXGetConfig(d, info, GLX_DEPTH_SIZE, &depth_bits);
    glXGetConfig(d, info, GLX_STENCIL_SIZE, &stencil_bits);
    EXPECT_GT(depth_bits, 0);
    EXPECT_EQ(0, stencil_bits);
    XFree(info), XFree(children), XCloseDisplay(d);
    saver.send_signal(SIGTERM);
    expect_quiet_end(end_timeout_ms);
}

TEST_F(Hosted_saver, destroyed_window_ends_it_quietly)
{
    for (const char* fps : {"30", "0"}) {
        SCOPED_TRACE(std::string("--max-fps ") + fps);
        Host_test_window pane(320, 240);
        ASSERT_TRUE(pane.ok());
        Saver_process run;
        ASSERT_TRUE(run.start(Saver_process::saver_path(), {"--window-id", pane.hex_id(), "--max-fps", fps},
                              install.environment()));
        std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
        ASSERT_TRUE(run.running()) << run.describe() << ": " << run.stderr_text();
        pane.destroy();
        ASSERT_TRUE(run.wait(end_timeout_ms)) << "still running with its window gone";
        EXPECT_EQ(0, run.exit_code()) << run.describe();
        EXPECT_EQ("", run.stderr_text());
    }
}

TEST_F(Hosted_saver, a_window_destroyed_at_any_moment_ends_it_within_half_a_second_in_little_memory)
{
    // Mesa's software renderer sizes a frame's buffers from the drawable's
    // geometry; a frame begun on a window already gone would be sized from
    // garbage (gigabytes, seconds of work).
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment_ms(800, 1500);  // its first frames are drawn by 800 ms
    for (int trial = 0; trial < 30; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        Host_test_window pane(640, 480);
        ASSERT_TRUE(pane.ok());
        Saver_process run;
        ASSERT_TRUE(run.start(Saver_process::saver_path(), {"--window-id", pane.hex_id(), "--max-fps", "0"},
                              install.environment()));
        std::this_thread::sleep_for(std::chrono::milliseconds(moment_ms(random)));
        ASSERT_TRUE(run.running()) << run.describe() << ": " << run.stderr_text();
        pane.destroy();
        const auto destroyed = std::chrono::steady_clock::now();
        ASSERT_TRUE(run.wait(end_timeout_ms)) << "still running with its window gone";
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - destroyed);
        EXPECT_LE(took.count(), 500) << "ms to end";
        EXPECT_LE(run.peak_rss_kb(), 200 * 1024) << "KiB at the peak";
        EXPECT_EQ(0, run.exit_code()) << run.describe();
        EXPECT_EQ("", run.stderr_text());
    }
}

// Malformed ids get the usage line; a well-formed one that names no window
// (below every client's ids) one line naming it, never Xlib's error dump.
TEST_F(Hosted_saver, bad_window_ids_are_refused_in_one_line_and_exit_code_2)
{
    const char* const rows[][2] = {{"0x", "usage:"},  {"12ab", "usage:"}, {"-5", "usage:"},
                                   {"0", "usage:"},   {"0x1ffffffff", "usage:"},
                                   {"0x12345", "no window 0x12345"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        Saver_process run;
        ASSERT_TRUE(run.start(Saver_process::saver_path(), {"/s", "--window-id", row[0]}, install.environment()));
        ASSERT_TRUE(run.wait(end_timeout_ms));
        EXPECT_EQ(2, run.exit_code()) << run.describe();
        const std::string err = run.stderr_text();
        EXPECT_NE(std::string::npos, err.find(row[1])) << err;
        EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << err;
    }
}

// --window: an ordinary window named "Gardenlume" at the mode's size, the
// picture following a resize, and the window's end (here destroyed, as no
// window manager runs to ask it politely) ending the saver quietly.
TEST_F(Hosted_saver, own_window_follows_a_resize_and_ends_with_the_window)
{
    const auto before = X_display::mapped_windows();
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"--window"}, install.environment()));
    ASSERT_TRUE(X_display::wait_for_new_window(before, 20000)) << saver.describe() << ": " << saver.stderr_text();
    unsigned long window = 0;
    for (unsigned long w : X_display::mapped_windows())
        if (std::find(before.begin(), before.end(), w) == before.end()) window = w;
    ASSERT_NE(0ul, window);
    const std::string id = std::to_string(window);
    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(nullptr, x);
    char* name = nullptr;
    EXPECT_NE(0, XFetchName(x, Window(window), &name));
    EXPECT_STREQ("Gardenlume", name) << "the window's WM_NAME";
    if (name) XFree(name);
    XCloseDisplay(x);
    ASSERT_EQ(0, std::system(("xdotool windowmove " + id + " 0 0 windowsize " + id + " 800 400").c_str()));
    std::this_thread::sleep_for(std::chrono::milliseconds(settle_ms));
    X_display::Picture shot = X_display::grab();
    expect_whole_picture(shot, 800, 400, "--window resized to 800x400");
    // A window on the desktop keeps the pointer the user sees.
    ASSERT_TRUE(X_display::mouse_move(400, 200));
    EXPECT_TRUE(X_display::pointer_shown());
    ASSERT_EQ(0, std::system(("xdotool windowclose " + id).c_str()));
    expect_quiet_end(end_timeout_ms);
}

// The real gardenlume.scr driven from outside on the test X server: its run
// modes, what ends it and what does not, and its two display failures.
// Waits are generous bounds for a busy machine, never measurements.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

namespace {

const int start_timeout_ms = 30000;
// The saver's argv[0] in these tests: one full stop, in ".scr", whatever the
// build folder is called.
const char* const saver_argv0 = "/opt/gardenlume/gardenlume.scr";
const int end_timeout_ms = 20000;

// An installation with the test packs and a "cfg"; started with /s, and
// waited for until its full-screen window is up.
class Running_saver : public ::testing::Test {
protected:
    void start(uint8_t mouse_exit, int32_t video_mode = 5)
    {
        ASSERT_TRUE(install.ok());
        ASSERT_TRUE(install.write_packs());
        ASSERT_TRUE(install.write_cfg(mouse_exit, video_mode));
        const auto before = X_display::mapped_windows();
        saver.set_argv0(saver_argv0);
        ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
        window_seen = X_display::wait_for_new_window(before, start_timeout_ms);
        started = std::chrono::steady_clock::now();
        ASSERT_TRUE(window_seen) << "no window; saver " << saver.describe() << ", stderr: "
                                 << saver.stderr_text();
    }

    // Sleeps until the saver's tick count is surely past `ms`: its clock
    // starts before the window is mapped.
    void wait_until_window_age(int ms)
    {
        std::this_thread::sleep_until(started + std::chrono::milliseconds(ms));
    }

    // Moves the pointer twice once the 3000 ms grace has surely passed.
    void move_mouse_late()
    {
        wait_until_window_age(4000);
        EXPECT_TRUE(X_display::mouse_move(200, 200));
        EXPECT_TRUE(X_display::mouse_move(600, 500));
    }

    // The saver is still up after ms; then Escape ends it cleanly.
    void expect_running_until_escape(int ms)
    {
        EXPECT_TRUE(saver.stays_running(ms)) << saver.describe();
        X_display::key("Escape");
        expect_clean_end();
    }

    void expect_clean_end()
    {
        ASSERT_TRUE(saver.wait(end_timeout_ms)) << "saver did not end";
        EXPECT_TRUE(saver.exited()) << saver.describe();
        EXPECT_EQ(saver.exit_code(), 0) << saver.stderr_text();
        EXPECT_EQ(saver.stderr_text(), "");
    }

    Install_folder install;
    Saver_process saver;
    bool window_seen = false;
    std::chrono::steady_clock::time_point started;
};

}  // namespace

TEST(Saver_modes, preview_ends_at_once_with_0_and_opens_no_window)
{
    Install_folder install;
    // No packs, no display: anything beyond declining would fail loudly.
    Saver_process saver;
    saver.set_argv0(saver_argv0);
    auto env = install.environment();
    env.push_back({"DISPLAY", ""});
    env.push_back({"SDL_VIDEODRIVER", "x11"});
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/p", "1234"}, env));
    ASSERT_TRUE(saver.wait(end_timeout_ms));
    EXPECT_EQ(saver.exit_code(), 0);
    EXPECT_EQ(saver.stderr_text(), "");
}

TEST(Saver_modes, configure_starts_config_exe_in_the_folder_and_ends_with_0)
{
    Install_folder install;
    ASSERT_TRUE(install.write_cwd_recorder("config.exe"));
    Saver_process saver;
    saver.set_argv0(saver_argv0);
    auto env = install.environment();
    env.push_back({"DISPLAY", ""});
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/c:1234"}, env));
    ASSERT_TRUE(saver.wait(end_timeout_ms));
    EXPECT_EQ(saver.exit_code(), 0);
    std::string cwd = install.wait_for_file("config.exe.cwd", end_timeout_ms);
    const std::string folder = install.path().substr(0, install.path().size() - 1);
    EXPECT_EQ(cwd, folder + "\n");
}

TEST(Saver_modes, configure_without_config_exe_still_ends_with_0)
{
    Install_folder install;
    Saver_process saver;
    saver.set_argv0(saver_argv0);
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/c"}, install.environment()));
    ASSERT_TRUE(saver.wait(end_timeout_ms));
    EXPECT_EQ(saver.exit_code(), 0);
    EXPECT_EQ(saver.stderr_text(), "");
}

TEST(Saver_display, no_x_server_ends_with_1_and_the_initialization_message)
{
    Install_folder install;
    Saver_process saver;
    saver.set_argv0(saver_argv0);
    auto env = install.environment();
    env.push_back({"DISPLAY", ""});
    // No driver chosen: the saver must not fall back to a text console.
    env.push_back({"SDL_VIDEODRIVER", ""});
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, env));
    ASSERT_TRUE(saver.wait(end_timeout_ms));
    EXPECT_EQ(saver.exit_code(), 1);
    EXPECT_EQ(saver.stdout_text(), "") << "the terminal was written to";
    const std::string err = saver.stderr_text();
    EXPECT_EQ(err.rfind("Video initialization failed: ", 0), 0u) << err;
    EXPECT_GT(err.size(), std::string("Video initialization failed: \n").size()) << "no SDL text";
    EXPECT_EQ(err.back(), '\n');
}

TEST(Saver_display, mode_bigger_than_the_screen_ends_with_1_and_the_mode_message)
{
    REQUIRE_X();
    Install_folder install;
    ASSERT_TRUE(install.write_packs());
    ASSERT_TRUE(install.write_cfg(0, 17));  // 1600 x 1200 on the 1024 x 768 test screen
    Saver_process saver;
    saver.set_argv0(saver_argv0);
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
    ASSERT_TRUE(saver.wait(end_timeout_ms));
    EXPECT_EQ(saver.exit_code(), 1);
    const std::string err = saver.stderr_text();
    EXPECT_EQ(err.rfind("Video mode set failed: ", 0), 0u) << err;
    EXPECT_GT(err.size(), std::string("Video mode set failed: \n").size()) << "no SDL text";
    EXPECT_EQ(err.back(), '\n');
}

TEST(Saver_display, missing_packs_end_with_1_after_the_display_opened)
{
    REQUIRE_X();
    Install_folder install;
    Saver_process saver;
    saver.set_argv0(saver_argv0);
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
    ASSERT_TRUE(saver.wait(start_timeout_ms));
    EXPECT_EQ(saver.exit_code(), 1);
    EXPECT_EQ(saver.stderr_text(), "");  // the pack failure has no message
}

TEST_F(Running_saver, escape_ends_it_with_0)
{
    REQUIRE_X();
    start(0);
    EXPECT_TRUE(X_display::key("Escape"));
    expect_clean_end();
}

TEST_F(Running_saver, other_keys_do_not_end_it)
{
    REQUIRE_X();
    start(1);
    for (const char* k : {"a", "space", "Return", "q", "F1", "Alt_L"}) EXPECT_TRUE(X_display::key(k));
    expect_running_until_escape(1500);
}

TEST_F(Running_saver, early_mouse_movement_does_not_end_it_even_with_mouse_exit_1)
{
    REQUIRE_X();
    start(1);
    EXPECT_TRUE(X_display::mouse_move(100, 100));
    EXPECT_TRUE(X_display::mouse_move(400, 300));
    // Long enough for the events to be handled, short of the 3000 ms.
    expect_running_until_escape(1000);
}

TEST_F(Running_saver, late_mouse_movement_ends_it_with_mouse_exit_1)
{
    REQUIRE_X();
    start(1);
    move_mouse_late();
    expect_clean_end();
}

// ... and the pointer stays hidden over the full-screen garden.
TEST_F(Running_saver, late_mouse_movement_is_ignored_with_mouse_exit_0)
{
    REQUIRE_X();
    start(0);
    move_mouse_late();
    EXPECT_FALSE(X_display::pointer_shown());
    expect_running_until_escape(1500);
}

TEST_F(Running_saver, mouse_byte_2_does_not_enable_the_mouse_rule)
{
    REQUIRE_X();
    start(2);
    move_mouse_late();
    expect_running_until_escape(1500);
}

TEST_F(Running_saver, sigterm_ends_it_with_0_after_a_normal_teardown)
{
    REQUIRE_X();
    start(0);
    EXPECT_TRUE(saver.stays_running(500));
    saver.send_signal(SIGTERM);
    expect_clean_end();
}

TEST_F(Running_saver, sigint_ends_it_with_0)
{
    REQUIRE_X();
    start(0);
    saver.send_signal(SIGINT);
    expect_clean_end();
}

TEST_F(Running_saver, screen_mode_from_cfg_sets_the_picture_size)
{
    REQUIRE_X();
    start(0, 1);  // 640 x 480, centred on the screen, whatever its size
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    X_display::Picture picture = X_display::grab();
    ASSERT_FALSE(picture.empty());
    X_display::key("Escape");
    expect_clean_end();
    ASSERT_GE(picture.width, 640 + 2 * 8);
    ASSERT_GE(picture.height, 480 + 2 * 8);
    // Counted from the screen's middle.
    const int cx = picture.width / 2, cy = picture.height / 2;
    auto lit = [&](int x, int y) {
        const uint8_t* p = picture.at(cx + x, cy + y);
        return p[0] + p[1] + p[2] > 0;
    };
    // The test packs' background fills the view: inside the 640 x 480 area
    // there is colour, outside it the screen stays black.
    EXPECT_TRUE(lit(0, -230));
    EXPECT_TRUE(lit(-310, 0));
    EXPECT_TRUE(lit(310, 230));
    EXPECT_FALSE(lit(-328, -248));
    EXPECT_FALSE(lit(328, 248));
    EXPECT_FALSE(lit(0, -248));
}

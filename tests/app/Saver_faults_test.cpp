// Faults a user met from outside, each driven with the real gardenlume.scr:
// where the switch stands, what an early end leaves on the display, and a
// termination request in the saver's first moments.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/inotify.h>
#include <poll.h>
#include <unistd.h>

#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/X_display.h"

namespace {

const int timeout_ms = 20000;

enum class Seen { Preview, Run, Configure };

// Runs the saver with no X server: Run fails to open the display (exit 1,
// the initialization message), Configure starts the recorder config.exe,
// Preview just ends with 0.
Seen mode_seen(const std::string& argv0, const std::vector<std::string>& args)
{
    Install_folder install;
    install.write_cwd_recorder("config.exe");
    Saver_process saver;
    saver.set_argv0(argv0);
    auto env = install.environment();
    env.push_back({"DISPLAY", ""});
    if (!saver.start(Saver_process::saver_path(), args, env) || !saver.wait(timeout_ms)) {
        ADD_FAILURE() << argv0 << ": did not run or end";
        return Seen::Run;
    }
    if (saver.exit_code() == 1 && saver.stderr_text().rfind("Video initialization failed: ", 0) == 0)
        return Seen::Run;
    EXPECT_EQ(saver.exit_code(), 0) << argv0 << " " << saver.stderr_text();
    if (!install.wait_for_file("config.exe.cwd", 1000).empty()) return Seen::Configure;
    return Seen::Preview;
}

}  // namespace

TEST(Saver_switch, is_read_where_the_host_put_it_whatever_the_program_path_holds)
{
    const struct {
        const char* argv0;
        std::vector<std::string> args;
        Seen mode;
    } cases[] = {
        {"./gardenlume.scr", {"/p"}, Seen::Preview},
        {"/home/u/savers/my.saver/gardenlume.scr", {"/s"}, Seen::Run},
        {"/home/first.last/g l.d/saver with blanks.scr", {"/p", "1234"}, Seen::Preview},
        {"/home/first.last/g l.d/saver with blanks.scr", {"/c:1234"}, Seen::Configure},
        {"/opt/gardenlume/gardenlume.scr", {"-C"}, Seen::Configure},
        {"/opt/gardenlume/gardenlume.scr", {"/S"}, Seen::Run},
        {"/opt/gardenlume/gardenlume.scr", {}, Seen::Run},
    };
    for (const auto& c : cases) EXPECT_EQ(mode_seen(c.argv0, c.args), c.mode) << c.argv0;
}

TEST(Saver_early_end, missing_pack_closes_the_display_before_ending_with_1)
{
    REQUIRE_X();
    // A display left open keeps whatever screen mode the saver switched to.
    Install_folder install;  // no packs
    const std::string mark = install.path() + "quit.mark";
    Saver_process saver;
    saver.set_argv0("/opt/gardenlume/gardenlume.scr");
    auto env = install.environment();
    env.push_back({"LD_PRELOAD", GARDENLUME_SDL_QUIT_PROBE});
    env.push_back({"GARDENLUME_SDL_QUIT_MARK", mark});
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, env));
    ASSERT_TRUE(saver.wait(timeout_ms));
    EXPECT_EQ(saver.exit_code(), 1);
    EXPECT_EQ(saver.stderr_text(), "");
    EXPECT_EQ(install.read_file("quit.mark"), "SDL_Quit\n") << "the display was left open";
}

TEST(Saver_early_end, sigterm_while_reading_the_settings_ends_it_with_0)
{
    REQUIRE_X();
    Install_folder install;
    ASSERT_TRUE(install.write_packs());
    // A settings file large enough that reading it takes a while.
    std::string cfg("\x01\x00\x00\x00", 4);
    const uint32_t n = 900 * 1024;
    cfg += std::string(reinterpret_cast<const char*>(&n), 4) + std::string(n, 'x');
    ASSERT_TRUE(install.write_file("cfg", cfg));

    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, (install.path() + "cfg").c_str(), IN_OPEN), 0);
    Saver_process saver;
    saver.set_argv0("/opt/gardenlume/gardenlume.scr");
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
    // The moment the saver opens its settings, the host asks it to end.
    pollfd p = {watch, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, timeout_ms), 1);
    saver.send_signal(SIGTERM);
    close(watch);
    ASSERT_TRUE(saver.wait(timeout_ms));
    EXPECT_TRUE(saver.exited()) << saver.describe();
    EXPECT_EQ(saver.exit_code(), 0);
}

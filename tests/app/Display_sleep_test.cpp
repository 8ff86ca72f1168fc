// The garden leaves the X server's display blanking and power saving alone:
// while it runs full screen, in its own window and hosted, the server's idle
// time keeps growing (SDL 1.2 would reset it every five seconds), unless the
// user set SDL_VIDEO_ALLOW_SCREENSAVER=0 on purpose. Run on an X server of
// the test's own, where no other test's key presses or windows reset it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/Install_folder.h"
#include "tests/support/Private_x_server.h"
#include "tests/support/Saver_process.h"

namespace {

// Milliseconds since the last input or screen-saver reset; -1 unknown.
long idle_ms(const Private_x_server& server)
{
    XScreenSaverInfo info{};
    Display* x = server.connection();
    if (!x || !XScreenSaverQueryInfo(x, DefaultRootWindow(x), &info)) return -1;
    return long(info.idle);
}

}  // namespace

TEST(Display_sleep, the_idle_time_keeps_growing_while_the_garden_shows)
{
    Private_x_server server;
    // A test that cannot get its server fails: a skip would count as passed.
    ASSERT_FALSE(server.name.empty()) << "no private Xvfb";
    ASSERT_GE(idle_ms(server), 0) << "the private Xvfb has no MIT-SCREEN-SAVER";
    Install_folder install;
    ASSERT_TRUE(install.ok() && install.write_packs() && install.write_cfg(0, 5));

    const struct {
        const char* mode;
        const char* allow;  // SDL_VIDEO_ALLOW_SCREENSAVER, "" unset
        bool grows;
    } cases[] = {
        {"/s", "", true}, {"--window", "", true}, {"--root", "", true},
        {"/s", "0", false},  // the user's own choice stands
    };
    for (const auto& c : cases) {
        Saver_process saver;
        Saver_process::Environment env = install.environment();
        env.push_back({"DISPLAY", server.name});
        env.push_back({"SDL_VIDEO_ALLOW_SCREENSAVER", c.allow});
        env.push_back({"XSCREENSAVER_WINDOW", ""});
        ASSERT_TRUE(saver.start(Saver_process::saver_path(), {c.mode}, env));
        // SDL resets the timer every 5 s: 12 s of samples see a reset if any.
        long previous = idle_ms(server), lowest_step = 0;
        for (int second = 0; second < 12; ++second) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const long idle = idle_ms(server);
            if (idle - previous < lowest_step) lowest_step = idle - previous;
            previous = idle;
        }
        ASSERT_TRUE(saver.running()) << c.mode << ": " << saver.describe() << " " << saver.stderr_text();
        if (c.grows) {
            EXPECT_GE(lowest_step, 0) << c.mode << ": the idle time went back";
            EXPECT_GT(previous, 10000) << c.mode;
        } else {
            EXPECT_LT(lowest_step, 0) << c.mode << " with the reset asked for: never reset";
        }
        saver.send_signal(SIGTERM);
        EXPECT_TRUE(saver.wait(10000)) << c.mode;
    }
}

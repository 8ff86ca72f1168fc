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
#include "tests/support/Saver_process.h"

namespace {

// A private Xvfb; its display name is empty when it could not start.
class Private_x_server {
public:
    Private_x_server()
    {
        // Servers starting at the same moment may race for a display number.
        for (int attempt = 0; attempt < 3 && !x; ++attempt) start();
    }
    ~Private_x_server()
    {
        if (x) XCloseDisplay(x);
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    // Milliseconds since the last input or screen-saver reset; -1 unknown.
    long idle_ms()
    {
        XScreenSaverInfo info{};
        if (!x || !XScreenSaverQueryInfo(x, DefaultRootWindow(x), &info)) return -1;
        return long(info.idle);
    }

    std::string name;

private:
    void start()
    {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char number[16] = {};
        const ssize_t n = pid > 0 ? read(fds[0], number, sizeof number - 1) : -1;
        close(fds[0]);
        if (n > 0) name = ":" + std::string(number, number + std::strcspn(number, "\n"));
        if (!name.empty()) x = XOpenDisplay(name.c_str());
        if (x || pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
        name.clear();
    }

    pid_t pid = -1;
    Display* x = nullptr;
};

}  // namespace

TEST(Display_sleep, the_idle_time_keeps_growing_while_the_garden_shows)
{
    Private_x_server server;
    if (server.name.empty() || server.idle_ms() < 0) GTEST_SKIP() << "no private Xvfb with MIT-SCREEN-SAVER";
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
        long previous = server.idle_ms(), lowest_step = 0;
        for (int second = 0; second < 12; ++second) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const long idle = server.idle_ms();
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

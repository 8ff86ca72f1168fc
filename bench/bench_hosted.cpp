// CPU use of the saver hosted in a window, as the screensaver daemon runs it,
// at the default frame-rate cap against unpaced, from one run:
//
//   DISPLAY=:5 build/bin/bench_hosted [seconds]
//
// Each run draws into a 1024x768 window of this program's, is given a few
// seconds to build its scene, then its user and system time is read from
// /proc over the measured seconds. The saver is the one beside this program.
#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Platform.h"

extern char** environ;

namespace {

// utime + stime of a process, in clock ticks; -1 when it is gone.
long cpu_ticks(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return -1;
    // Fields after the command name in parentheses, which may hold blanks.
    std::istringstream rest(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
}

// Percent of one core the saver used over `seconds`, -1 on failure.
double measure(const std::string& saver, unsigned long window, const std::vector<std::string>& extra, int seconds)
{
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", window);
    std::vector<std::string> args = {saver, "--window-id", id};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, saver.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    std::this_thread::sleep_for(std::chrono::seconds(4));  // packs, textures, first frames
    const long before = cpu_ticks(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const long after = cpu_ticks(pid);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    if (before < 0 || after < 0) return -1;
    return 100.0 * double(after - before) / double(sysconf(_SC_CLK_TCK)) / wall;
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    Display* d = XOpenDisplay(nullptr);
    if (!d || seconds <= 0) {
        std::fprintf(stderr, "usage: DISPLAY=... bench_hosted [seconds > 0]\n");
        return 2;
    }
    XSetWindowAttributes attributes;
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(d, DefaultScreen(d));
    const Window window = XCreateWindow(d, DefaultRootWindow(d), 0, 0, 1024, 768, 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(d, window);
    XSync(d, False);

    const std::string saver = Platform::executable_folder() + "gardenlume.scr";
    const double capped = measure(saver, window, {}, seconds);
    const double unpaced = measure(saver, window, {"--max-fps", "0"}, seconds);
    XDestroyWindow(d, window);
    XCloseDisplay(d);
    if (capped < 0 || unpaced < 0) {
        std::fprintf(stderr, "bench_hosted: the saver did not run (%s)\n", saver.c_str());
        return 1;
    }
    std::printf("hosted saver in a 1024x768 window, %d s each, CPU time per wall second:\n", seconds);
    std::printf("  default cap (30 fps): %6.1f %%\n", capped);
    std::printf("  unpaced (--max-fps 0): %6.1f %%\n", unpaced);
    return 0;
}

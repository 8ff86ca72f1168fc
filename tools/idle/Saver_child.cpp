#include "tools/idle/Saver_child.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

// The saver ends on SIGTERM after its frame; one that does not within this
// long is killed, so ending gardenlume-idle always ends the garden.
const int patience_ms = 5000;

bool executable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

}  // namespace

std::string Saver_child::find(const std::string& own_folder)
{
    for (const char* relative : {"gardenlume.scr", "../lib/gardenlume/gardenlume.scr"})
        if (executable(own_folder + relative)) return own_folder + relative;
    return std::string();
}

bool Saver_child::start()
{
    if (child > 0) return true;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        // Killed with us, however we end (even SIGKILL); and not if we have already gone.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(0);
        execl(program.c_str(), program.c_str(), "/s", static_cast<char*>(nullptr));
        std::fprintf(stderr, "gardenlume-idle: %s could not be started\n", program.c_str());
        _exit(127);
    }
    child = pid;
    // A descriptor of the process itself: its end is heard without a signal handler.
    exit_notice = int(syscall(SYS_pidfd_open, pid, 0));
    return true;
}

bool Saver_child::reap()
{
    int status = 0;
    if (child <= 0 || waitpid(child, &status, WNOHANG) != child) return false;
    forget(status);
    return true;
}

void Saver_child::forget(int status)
{
    child = 0;
    if (exit_notice >= 0) close(exit_notice);
    exit_notice = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "gardenlume-idle: the garden (%s) ended with exit code %d\n", program.c_str(),
                     WEXITSTATUS(status));
}

void Saver_child::stop()
{
    if (child <= 0) return;
    kill(child, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < patience_ms; waited += 10) {
        if (waitpid(child, &status, WNOHANG) == child) return forget(0);
        usleep(10 * 1000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    forget(0);
}

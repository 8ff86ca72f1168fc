// POSIX stand-ins for the Win32 services of Platform.h.
#include "platform/Platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Registry_file.h"

extern char** environ;

const char Platform::path_separator = '/';

namespace {

std::vector<std::string> recorded_arguments;
volatile std::sig_atomic_t termination = 0;

extern "C" void on_termination(int) { termination = 1; }

}  // namespace

void Platform::record_arguments(int argc, char** argv)
{
    recorded_arguments.clear();
    for (int i = 1; i < argc && argv[i]; ++i) recorded_arguments.push_back(argv[i]);
}

const std::vector<std::string>& Platform::arguments() { return recorded_arguments; }

bool Platform::read_registry_string(const std::string& key_path, const std::string& value,
                                    std::vector<char>& data)
{
    std::string text;
    if (!Registry_file::find_in_file(Registry_file::path_in_use(), key_path, value, text)) return false;
    data.assign(text.begin(), text.end());
    data.push_back('\0');
    return true;
}

bool Platform::start_program(const std::string& program, const std::string& working_dir,
                             const std::string& argument)
{
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    // An empty folder is what is left of a program in the root folder.
    const std::string dir = working_dir.empty() ? std::string(1, path_separator) : working_dir;
    bool ok = posix_spawn_file_actions_addchdir_np(&actions, dir.c_str()) == 0;
    if (ok) {
        std::vector<char> arg0(program.begin(), program.end());
        arg0.push_back('\0');
        std::vector<char> arg1(argument.begin(), argument.end());
        arg1.push_back('\0');
        char* argv[] = {arg0.data(), argument.empty() ? nullptr : arg1.data(), nullptr};
        pid_t pid = 0;
        ok = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return ok;
}

std::string Platform::executable_folder()
{
    std::vector<char> buf(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return std::string();
        if (size_t(n) < buf.size()) {
            std::string path(buf.data(), size_t(n));
            size_t cut = path.rfind(path_separator);
            return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
        }
        if (buf.size() >= (1u << 20)) return std::string();
        buf.resize(buf.size() * 2);
    }
}

void Platform::choose_video_driver()
{
    // SDL 1.2 reads this when its video starts; 0: a choice of the user's stays.
    setenv("SDL_VIDEODRIVER", "x11", 0);
}

bool Platform::consent_by_prompt() { return false; }

void Platform::keep_display_mode(bool one_head)
{
    setenv("SDL_VIDEO_X11_VIDMODE", "0", 0);
    // Xinerama's head 0 is the primary monitor (RandR lists it first).
    // SDL takes either name of the variable; one the user gave stands.
    if (one_head && !std::getenv("SDL_VIDEO_FULLSCREEN_DISPLAY")) setenv("SDL_VIDEO_FULLSCREEN_HEAD", "0", 0);
}

void Platform::allow_display_sleep() { setenv("SDL_VIDEO_ALLOW_SCREENSAVER", "1", 0); }

void Platform::catch_termination()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = on_termination;
    action.sa_flags = SA_RESTART;  // a frame in flight finishes undisturbed
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool Platform::termination_requested() { return termination != 0; }

bool Platform::settings_without_switch() { return false; }

void Platform::attach_parent_console() {}

unsigned long Platform::process_id() { return (unsigned long)getpid(); }

bool Platform::process_gone(unsigned long id)
{
    // kill(pid, 0) fails with ESRCH only when no such process exists.
    return id > 0 && id <= 0x7fffffffUL && kill(pid_t(id), 0) != 0 && errno == ESRCH;
}

int Platform::remove_old_files(const std::string& folder, const std::string& prefix,
                               bool (*pick)(const std::string& name), long min_age_seconds)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    const time_t now = time(nullptr);
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0 || !pick(name)) continue;
        // Looked at and removed relative to the open folder, never through a link.
        struct stat st;
        if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            now - st.st_mtime < min_age_seconds)
            continue;
        if (unlinkat(dirfd(dir), e->d_name, 0) == 0) ++removed;
    }
    closedir(dir);
    return removed;
}

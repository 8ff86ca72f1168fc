#include "tests/support/Saver_process.h"
#include "tests/support/Test_files.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::string temp_file(const char* what)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/gardenlume_" + what + "_XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) return std::string();
    close(fd);
    return pattern;
}

std::string slurp(const std::string& path) { return Test_files::text(path); }

std::vector<char> c_string(const std::string& s)
{
    std::vector<char> v(s.begin(), s.end());
    v.push_back('\0');
    return v;
}

}  // namespace

Saver_process::~Saver_process()
{
    if (child > 0 && !ended) {
        kill(child, SIGKILL);
        reap(true);
    }
    if (!out_path.empty()) unlink(out_path.c_str());
    if (!err_path.empty()) unlink(err_path.c_str());
}

std::string Saver_process::saver_path() { return std::string(GARDENLUME_BIN_DIR) + "/gardenlume.scr"; }
std::string Saver_process::config_path() { return std::string(GARDENLUME_BIN_DIR) + "/config.exe"; }

bool Saver_process::start(const std::string& program, const std::vector<std::string>& args,
                          const Environment& environment)
{
    if (child > 0) return false;  // one run per object
    out_path = temp_file("stdout");
    err_path = temp_file("stderr");
    if (out_path.empty() || err_path.empty()) return false;

    // The test's environment with the overrides applied.
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq) env[std::string(*e, size_t(eq - *e))] = eq + 1;
    }
    for (const auto& [name, value] : environment) {
        if (value.empty())
            env.erase(name);
        else
            env[name] = value;
    }
    std::vector<std::vector<char>> env_storage, arg_storage;
    for (const auto& [name, value] : env) env_storage.push_back(c_string(name + "=" + value));
    arg_storage.push_back(c_string(argv0.empty() ? program : argv0));
    for (const std::string& a : args) arg_storage.push_back(c_string(a));
    std::vector<char*> envp, argv;
    for (auto& s : env_storage) envp.push_back(s.data());
    for (auto& s : arg_storage) argv.push_back(s.data());
    envp.push_back(nullptr);
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    child = pid;
    ended = false;
    return true;
}

bool Saver_process::reap(bool block)
{
    if (child <= 0) return false;
    if (ended) return true;
    int status = 0;
    struct rusage usage {};
    pid_t r;
    do {
        r = wait4(child, &status, block ? 0 : WNOHANG, &usage);
    } while (r < 0 && errno == EINTR);
    if (r != child) return false;
    ended = true;
    peak_kb = usage.ru_maxrss;
    exited_normally = WIFEXITED(status);
    status_value = exited_normally ? WEXITSTATUS(status) : WTERMSIG(status);
    return true;
}

bool Saver_process::wait(int timeout_ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!reap(false)) {
        if (child <= 0 || std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool Saver_process::running() { return child > 0 && !reap(false); }

bool Saver_process::stays_running(int ms) { return !wait(ms); }

void Saver_process::send_signal(int signal)
{
    if (child > 0 && !ended) kill(child, signal);
}

std::string Saver_process::stdout_text() const { return slurp(out_path); }
std::string Saver_process::stderr_text() const { return slurp(err_path); }

std::string Saver_process::describe()
{
    if (child <= 0) return "not started";
    if (running()) return "running";
    return exited_normally ? "exit " + std::to_string(status_value)
                           : "signal " + std::to_string(status_value);
}

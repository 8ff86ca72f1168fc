// One run of a real program of the build (the saver, config.exe, a tool),
// started from outside the test process with its own argv and environment.
// stdout and stderr are captured to files; the process is killed and
// reaped when the object goes, so a failing test never leaves it running.
//
//   Saver_process saver;
//   saver.start(Saver_process::saver_path(), {"/s"}, install.environment());
//   X_display::wait_for_new_window(before, 20000);
//   X_display::key("Escape");
//   ASSERT_TRUE(saver.wait(20000));
//   EXPECT_EQ(saver.exit_code(), 0);
#pragma once
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

class Saver_process {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    Saver_process() = default;
    ~Saver_process();
    Saver_process(const Saver_process&) = delete;
    Saver_process& operator=(const Saver_process&) = delete;

    static std::string saver_path();   // <build>/bin/gardenlume.scr
    static std::string config_path();  // <build>/bin/config.exe

    // argv[0] is `program` as given; `args` follow. Each environment entry
    // is set over the test's own environment; an entry with an empty value
    // removes that variable (e.g. {"DISPLAY", ""}).
    bool start(const std::string& program, const std::vector<std::string>& args,
               const Environment& environment = {});

    // argv[0] for the next start instead of `program` (the saver reads its
    // run mode from the whole line, so a dot in the build path would shift
    // it: tests give a fixed, dot-free path here).
    void set_argv0(const std::string& name) { argv0 = name; }

    // Waits up to timeout_ms for the process to end; true when it did.
    bool wait(int timeout_ms);
    bool running();
    // Keeps checking for `ms` that it still runs; false as soon as it ends.
    bool stays_running(int ms);
    void send_signal(int signal);

    pid_t pid() const { return child; }
    bool exited() const { return ended && exited_normally; }
    int exit_code() const { return (ended && exited_normally) ? status_value : -1; }
    int term_signal() const { return (ended && !exited_normally) ? status_value : 0; }
    // The largest resident size the ended process had, in KiB.
    long peak_rss_kb() const { return ended ? peak_kb : 0; }
    std::string stdout_text() const;
    std::string stderr_text() const;
    // "exit 0", "signal 9" or "running", for messages.
    std::string describe();

private:
    bool reap(bool block);

    std::string argv0;
    pid_t child = -1;
    bool ended = false;
    bool exited_normally = false;
    int status_value = 0;
    long peak_kb = 0;
    std::string out_path;
    std::string err_path;
};

// The garden that gardenlume-idle shows: the saver full screen
// ("gardenlume.scr /s") as a child process, ended with SIGTERM when the user
// is back, and never outliving gardenlume-idle.
#pragma once
#include <string>
#include <sys/types.h>

class Saver_child {
public:
    explicit Saver_child(std::string program) : program(std::move(program)) {}
    ~Saver_child() { stop(); }
    Saver_child(const Saver_child&) = delete;
    Saver_child& operator=(const Saver_child&) = delete;

    // Starts the garden unless it shows already; false when it cannot start.
    bool start();
    // Asks the garden to end and waits until it has.
    void stop();
    bool running() const { return child > 0; }
    // Becomes readable when the garden has ended (by Escape or the mouse);
    // -1 while none shows.
    int exit_fd() const { return exit_notice; }
    // Collects a garden that has ended; false while it still shows.
    bool reap();

    // Where the saver is: beside this program (a build folder) or in the
    // installation folder of the same prefix; empty when neither holds it.
    static std::string find(const std::string& own_folder);

private:
    std::string program;
    void forget(int status);

    pid_t child = 0;
    int exit_notice = -1;
};

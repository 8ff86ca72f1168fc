// An Xvfb of the test's own, apart from the suite's shared one: for what
// would disturb other tests (the server's idle time, the server killed under
// the saver). Its name is empty when it could not start.
//
//   Private_x_server server({"+xinerama", "-screen", "1", "800x600x24"});
//   env.push_back({"DISPLAY", server.name});
#pragma once
#include <X11/Xlib.h>
#include <string>
#include <sys/types.h>
#include <vector>

class Private_x_server {
public:
    // `extra` follows the first screen (1024x768x24) on Xvfb's command line.
    explicit Private_x_server(const std::vector<std::string>& extra = {});
    ~Private_x_server();
    Private_x_server(const Private_x_server&) = delete;
    Private_x_server& operator=(const Private_x_server&) = delete;

    // The test's own connection to it; null when it did not start.
    Display* connection() const { return x; }
    // Ends the server at once (SIGKILL), as a crash would.
    void kill_now();

    std::string name;

private:
    void start(const std::vector<std::string>& extra);

    pid_t pid = -1;
    Display* x = nullptr;
};

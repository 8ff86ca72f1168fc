#include "tests/support/Private_x_server.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

Private_x_server::Private_x_server(const std::vector<std::string>& extra)
{
    // Servers starting at the same moment may race for a display number.
    for (int attempt = 0; attempt < 3 && !x; ++attempt) start(extra);
}

Private_x_server::~Private_x_server()
{
    if (x) XCloseDisplay(x);
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

void Private_x_server::kill_now()
{
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
    // The connection is dead; closing it would call the I/O error handler.
    x = nullptr;
}

void Private_x_server::start(const std::vector<std::string>& extra)
{
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> words = {"Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24"};
    words.insert(words.end(), extra.begin(), extra.end());
    for (const char* w : {"-nolisten", "tcp", "-noreset"}) words.push_back(w);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid = fork();
    if (pid == 0) {
        close(fds[0]);
        execvp("Xvfb", argv.data());
        _exit(127);
    }
    close(fds[1]);
    // The server writes its number and then the line's end, in two writes,
    // and ends itself if the second finds the pipe closed: read to the end
    // of the line before closing it.
    char number[16] = {};
    size_t got = 0;
    while (pid > 0 && got < sizeof number - 1 && !std::memchr(number, '\n', got)) {
        const ssize_t n = read(fds[0], number + got, sizeof number - 1 - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += size_t(n);
    }
    close(fds[0]);
    if (std::memchr(number, '\n', got)) name = ":" + std::string(number, number + std::strcspn(number, "\n"));
    // A server may tell its number a moment before it takes connections.
    for (int i = 0; i < 40 && !name.empty() && !x; ++i) {
        x = XOpenDisplay(name.c_str());
        if (!x) usleep(50000);
    }
    if (x || pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
    name.clear();
}

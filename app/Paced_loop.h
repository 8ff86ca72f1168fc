// The main loop of a saver in a window, a host's or our own (--window):
// each pass drains SDL's events, follows the window's size, draws one frame
// and then sleeps out the rest of the frame's time, so a saver left running
// behind a locked screen costs little. Motion follows elapsed milliseconds,
// so the cap changes smoothness only.
#pragma once
#include <SDL.h>
#include <cstdint>

class Display;
class Host_window;

class Paced_loop {
public:
    // `host` is the lent window, null for our own; `max_fps` 0 is unpaced.
    Paced_loop(Display& display, Host_window* host, int max_fps)
        : display(display), host(host), max_fps(max_fps) {}

    // Passes until the host ends us (SIGTERM, the window gone) or, in our
    // own window, the user closes it or presses Escape.
    void run();

    // How often a lent window's size is read from the server.
    static const uint32_t size_check_ms = 200;

private:
    void handle_event(const SDL_Event& event);
    void follow_host_size();
    // Sleeps until SDL's tick count reaches `tick`, waking early to end.
    void sleep_until(uint32_t tick);
    bool should_end() const;

    Display& display;
    Host_window* host;
    int max_fps;
    bool quit = false;
    int pending_width = 0;  // the last size our own window was given
    int pending_height = 0;
    uint32_t last_size_check = 0;
};

// The saver's one frame loop, wherever it draws: each pass drains SDL's
// event queue and the other monitors' covers' input, follows the window's
// size, draws one frame and, under a frame cap, sleeps until the next is
// due, so a saver left running behind a locked screen costs little. What
// ends it and how fast it runs are its Loop_policy's; motion follows
// elapsed milliseconds, so the cap changes smoothness only.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "app/Frame_pacer.h"
#include "app/Loop_policy.h"

class Display;

class Main_loop {
public:
    // `display` is resized when the policy follows a window; null for none.
    explicit Main_loop(const Loop_policy& policy, Display* display = nullptr)
        : policy(policy), display(display), pacer(policy.max_fps) {}

    // Passes until the quit flag is set. The flag is tested between passes
    // only, so the frame after Escape is still drawn; a termination signal or
    // a lent window gone ends the loop without another frame.
    void run();
    // One pass: drain the queue, follow the window, draw a frame.
    void pass();
    // Sets the quit flag for the events that end the saver, and notes a new
    // size of our own window.
    void handle_event(const SDL_Event& event);
    bool quit_requested() const { return quit; }
    // The mouse's grace period runs from the first frame, which pass()
    // marks here once it is drawn: until then, and for the grace period
    // after it, movement never ends the saver.
    void start_mouse_grace(uint32_t now);

    // Mouse movement counts only once this much has passed since the first
    // frame (exactly this much does not count).
    static const uint32_t mouse_grace_ms = 3000;
    // How often a lent window's size is read from the server.
    static const uint32_t size_check_ms = 200;

private:
    bool told_to_end() const;
    void hear_from_host();
    void mouse_moved();
    void follow_window();
    // Sleeps until the pacer's next frame is due, waking early to end.
    void wait_for_next_frame();

    Loop_policy policy;
    Display* display;
    Frame_pacer pacer;
    bool quit = false;
    bool grace_started = false;
    uint32_t grace_start = 0;
    int pending_width = 0;  // the last size our own window was given
    int pending_height = 0;
    uint32_t last_size_check = 0;
};

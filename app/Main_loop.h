// The saver's main loop: each pass drains SDL's event queue and the monitor
// covers' input, then draws one frame. Escape ends it, and so does mouse
// movement after the first 3000 ms when the settings allow; a termination
// signal ends it after the pass.
#pragma once
#include <SDL.h>
#include <cstdint>

class Cfg_record;
class Monitor_cover;

class Main_loop {
public:
    // `covers`, when given, are the other monitors' covers: Escape and
    // movement they see count as if over the garden.
    explicit Main_loop(const Cfg_record& cfg, Monitor_cover* covers = nullptr) : cfg(cfg), covers(covers) {}

    // Passes until the quit flag is set; the flag is tested between passes
    // only, so the frame after Escape is still drawn.
    void run();
    // One pass: drain the queue, draw a frame.
    void pass();
    // Sets the quit flag for the events that end the saver.
    void handle_event(const SDL_Event& event);
    bool quit_requested() const { return quit; }

    // Mouse movement counts only once the tick count is past this.
    static const uint32_t mouse_grace_ms = 3000;

private:
    void mouse_moved();

    const Cfg_record& cfg;
    Monitor_cover* covers;
    bool quit = false;
};

#include "app/Main_loop.h"

#include "app/Display.h"
#include "app/Frame.h"
#include "platform/Host_window.h"
#include "platform/Monitor_cover.h"
#include "platform/Platform.h"

namespace {
// The longest single sleep: a termination request or a vanished window is
// seen well within half a second, while a frame's wait (33 ms at the
// default cap) is slept in one go rather than in many short wake-ups.
const uint32_t longest_sleep_ms = 100;
}  // namespace

bool Main_loop::told_to_end() const { return Platform::termination_requested() || Host_window::gone(); }

void Main_loop::hear_from_host()
{
    // A lent window's end is read from the server right before each frame
    // and in each wait, so no frame starts on a window already gone.
    if (policy.host) policy.host->still_there();
}

void Main_loop::run()
{
    quit = false;
    pacer.start(SDL_GetTicks());
    last_size_check = SDL_GetTicks();
    while (!quit) {
        pass();
        if (told_to_end()) quit = true;
        if (!quit && pacer.paced()) wait_for_next_frame();
    }
}

void Main_loop::pass()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle_event(event);
    if (policy.covers) {
        const Monitor_cover::Input input = policy.covers->poll();
        if (input.escape && policy.escape_ends) quit = true;
        if (input.motion) mouse_moved();
        // A window over several monitors follows them; the covers then go
        // where it no longer reaches.
        if (input.layout_changed && display && display->follow_monitors()) policy.covers->refit();
    }
    follow_window();
    hear_from_host();
    // The host has asked us to end, or its window is gone: nothing to draw on.
    if (told_to_end()) return;
    draw_frame(display ? &display->views : nullptr);
    if (!grace_started) start_mouse_grace(SDL_GetTicks());
}

void Main_loop::start_mouse_grace(uint32_t now)
{
    grace_started = true;
    grace_start = now;
}

void Main_loop::handle_event(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        if (policy.escape_ends && event.key.keysym.sym == SDLK_ESCAPE) quit = true;
        break;
    case SDL_MOUSEMOTION:
        mouse_moved();
        break;
    case SDL_QUIT:
        if (policy.close_ends) quit = true;
        break;
    case SDL_VIDEORESIZE:
        if (policy.follows_resize) {
            pending_width = event.resize.w;
            pending_height = event.resize.h;
        }
        break;
    default:
        // Other keys, buttons and focus changes leave the saver running.
        break;
    }
}

void Main_loop::mouse_moved()
{
    // A tick difference stays right across the counter's wrap (49.7 days).
    if (policy.mouse_rule && grace_started && SDL_GetTicks() - grace_start > mouse_grace_ms) quit = true;
}

void Main_loop::follow_window()
{
    if (!display) return;
    if (pending_width > 0) {
        display->resize(pending_width, pending_height);
        pending_width = pending_height = 0;
    }
    if (!policy.host) return;
    const uint32_t now = SDL_GetTicks();
    if (now - last_size_check < size_check_ms) return;
    last_size_check = now;
    int w = 0, h = 0;
    if (!policy.host->size(w, h)) return;  // gone: the loop ends on the error it raised
    if (w != display->width || h != display->height) display->resize(w, h);
}

void Main_loop::wait_for_next_frame()
{
    uint32_t now = SDL_GetTicks();
    pacer.frame_done(now);
    for (uint32_t left = pacer.wait_ms(now); left > 0 && !told_to_end(); left = pacer.wait_ms(now)) {
        SDL_Delay(left < longest_sleep_ms ? left : longest_sleep_ms);
        hear_from_host();
        now = SDL_GetTicks();
    }
}

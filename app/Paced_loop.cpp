#include "app/Paced_loop.h"

#include "app/Display.h"
#include "app/Frame.h"
#include "app/Frame_pacer.h"
#include "platform/Host_window.h"
#include "platform/Platform.h"

namespace {
// The longest single sleep: a termination request or a vanished window is
// seen well within half a second, while a frame's wait (33 ms at the
// default cap) is slept in one go rather than in many short wake-ups.
const uint32_t longest_sleep_ms = 100;
}  // namespace

bool Paced_loop::should_end() const
{
    return quit || Platform::termination_requested() || Host_window::gone();
}

void Paced_loop::run()
{
    quit = false;
    Frame_pacer pacer(max_fps);
    pacer.start(SDL_GetTicks());
    last_size_check = SDL_GetTicks();
    while (!should_end()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) handle_event(event);
        if (pending_width > 0) {
            display.resize(pending_width, pending_height);
            pending_width = pending_height = 0;
        }
        if (host) follow_host_size();
        if (should_end()) break;
        draw_frame();
        if (pacer.paced()) {
            const uint32_t now = SDL_GetTicks();
            pacer.frame_done(now);
            sleep_until(now + pacer.wait_ms(now));
        }
    }
}

void Paced_loop::handle_event(const SDL_Event& event)
{
    // A lent window brings no input; the host decides when we end.
    if (host) return;
    switch (event.type) {
    case SDL_QUIT:
        quit = true;
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) quit = true;
        break;
    case SDL_VIDEORESIZE:
        pending_width = event.resize.w;
        pending_height = event.resize.h;
        break;
    default:
        break;
    }
}

void Paced_loop::follow_host_size()
{
    const uint32_t now = SDL_GetTicks();
    if (now - last_size_check < size_check_ms) return;
    last_size_check = now;
    int w = 0, h = 0;
    if (!host->size(w, h)) return;  // gone: the loop ends on the error it raised
    if (w != display.width || h != display.height) display.resize(w, h);
}

void Paced_loop::sleep_until(uint32_t tick)
{
    for (;;) {
        const uint32_t now = SDL_GetTicks();
        if (int32_t(tick - now) <= 0 || should_end()) return;
        const uint32_t left = tick - now;
        SDL_Delay(left < longest_sleep_ms ? left : longest_sleep_ms);
    }
}

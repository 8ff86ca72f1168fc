#include "app/Main_loop.h"

#include "resources/Cfg_record.h"
#include "app/Frame.h"
#include "platform/Monitor_cover.h"
#include "platform/Platform.h"

void Main_loop::run()
{
    quit = false;
    while (!quit) {
        pass();
        if (Platform::termination_requested()) quit = true;
    }
}

void Main_loop::pass()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle_event(event);
    if (covers) {
        const Monitor_cover::Input input = covers->poll();
        if (input.escape) quit = true;
        if (input.motion) mouse_moved();
    }
    draw_frame();
}

void Main_loop::handle_event(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) quit = true;
        break;
    case SDL_MOUSEMOTION:
        mouse_moved();
        break;
    default:
        // Other keys, buttons, focus changes and the window-close request
        // (SDL_QUIT) leave the saver running.
        break;
    }
}

void Main_loop::mouse_moved()
{
    if (SDL_GetTicks() > mouse_grace_ms && cfg.mouse_exit == 1) quit = true;
}

#include "app/Main_loop.h"

#include "resources/Cfg_record.h"
#include "app/Frame.h"
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
    draw_frame();
}

void Main_loop::handle_event(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) quit = true;
        break;
    case SDL_MOUSEMOTION:
        if (SDL_GetTicks() > mouse_grace_ms && cfg.mouse_exit == 1) quit = true;
        break;
    default:
        // Other keys, buttons, focus changes and the window-close request
        // (SDL_QUIT) leave the saver running.
        break;
    }
}

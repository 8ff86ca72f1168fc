#include "app/Media_window.h"

#include <SDL.h>
#include <SDL_syswm.h>

uintptr_t Media_window::handle()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    return uintptr_t(info.info.x11.window);
#else
    return uintptr_t(info.window);
#endif
}

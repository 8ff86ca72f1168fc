// Preloaded into a real saver by the end-to-end tests: each SDL_Quit call
// appends a line to the file named by GARDENLUME_SDL_QUIT_MARK, then goes on
// to SDL's own. Shows from outside whether the display was closed.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

extern "C" void SDL_Quit(void)
{
    if (const char* mark = std::getenv("GARDENLUME_SDL_QUIT_MARK")) {
        if (std::FILE* f = std::fopen(mark, "a")) {
            std::fputs("SDL_Quit\n", f);
            std::fclose(f);
        }
    }
    using Quit = void (*)(void);
    if (Quit real = reinterpret_cast<Quit>(dlsym(RTLD_NEXT, "SDL_Quit"))) real();
}

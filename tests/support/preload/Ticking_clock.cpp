// Preloaded into a real saver by the monitor tests: SDL_GetTicks answers
// 500 ms, then 4 ms more at every reading. Every clock that reads it in a
// frame sees another moment, so a view that read the clocks again instead
// of showing the first view's moment always differs from it, however fast
// the frame is drawn.
#include <SDL.h>

#include <atomic>

extern "C" Uint32 SDL_GetTicks(void)
{
    static std::atomic<Uint32> readings{0};
    return 500 + 4 * readings++;
}

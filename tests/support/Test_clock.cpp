#include "tests/support/Test_clock.h"

#include <SDL.h>

namespace {
bool fake = false;
uint32_t fake_ticks = 0;
}

extern "C" Uint32 __real_SDL_GetTicks(void);
extern "C" Uint32 __wrap_SDL_GetTicks(void)
{
    return fake ? fake_ticks : __real_SDL_GetTicks();
}

void Test_clock::set(uint32_t ticks) { fake = true; fake_ticks = ticks; }
void Test_clock::advance(uint32_t ms) { fake = true; fake_ticks += ms; }
void Test_clock::use_real() { fake = false; }
uint32_t Test_clock::now() { return __wrap_SDL_GetTicks(); }

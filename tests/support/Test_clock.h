// The tick seam of the tests: test binaries link with --wrap=SDL_GetTicks, so
// every SDL_GetTicks call from our code lands here. A test sets the clock and
// steps it; with no value set, the real SDL clock answers.
#pragma once
#include <cstdint>

class Test_clock {
public:
    static void set(uint32_t ticks);   // from now on SDL_GetTicks returns ticks
    static void advance(uint32_t ms);  // adds ms (wrapping like the real counter)
    static void use_real();            // back to SDL's own clock
    static uint32_t now();
};

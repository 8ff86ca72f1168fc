// A real OpenGL context for tests: a small SDL window on the test X server
// (DISPLAY, Mesa's software renderer), made once per test process and kept.
// Tests that need GL call Gl_context::require() first; it skips the test
// when no X server is reachable instead of failing in odd ways.
#pragma once
#include <cstdint>
#include <vector>

class Gl_context {
public:
    // Opens the context on first use (width x height window). Returns false
    // when no display can be opened.
    static bool open(int width = 64, int height = 64);
    // Resets the GL state the saver's display sets (depth test, textures,
    // projection, modelview identity) so each test starts alike.
    static void reset_state();
    // The RGBA pixels of the back buffer, bottom row first (glReadPixels).
    static std::vector<uint8_t> read_pixels(int width, int height);
};

// Skips the current test when there is no GL context to be had.
#define REQUIRE_GL()                                                     \
    do {                                                                 \
        if (!Gl_context::open()) GTEST_SKIP() << "no X display for GL"; \
    } while (0)

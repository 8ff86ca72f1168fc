// The full-screen OpenGL window: opens SDL's video in one screen mode, sets
// the GL state every drawing relies on and the perspective projection, and
// hides the cursor. Also the fixed parameters of the scene's one light.
#pragma once
#include <SDL.h>
#include <cstdint>

class Display {
public:
    Display() = default;
    ~Display() { close(); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // False when the screen cannot be opened: one line on stderr has said
    // why, the media layer is shut down again, and the caller ends with 1.
    bool open(int32_t width, int32_t height, int32_t bpp);
    static bool set_viewport(int32_t width, int32_t height);
    void toggle_fullscreen();
    void close();

    int32_t width = 0;
    int32_t height = 0;
    int32_t bpp = 0;

private:
    bool is_open = false;
};

// The surface SDL_SetVideoMode returned; null before open.
extern SDL_Surface* screen_surface;

// Sets the parameters of GL_LIGHT1 and enables lighting (not the light).
void setup_lights();

#include "tests/support/Gl_context.h"

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdlib>

namespace {
int state = 0;  // 0 not tried, 1 open, -1 failed
}

bool Gl_context::open(int width, int height)
{
    if (state != 0) return state > 0;
    state = -1;
    if (!std::getenv("DISPLAY")) return false;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) {
        SDL_Quit();
        return false;
    }
    state = 1;
    // The context stays open to the end of the process, without SDL_Quit:
    // closing it unloads Mesa's driver before the sanitizer's leak check,
    // whose own allocations would then be reported from an unknown module.
    reset_state();
    return true;
}

void Gl_context::reset_state()
{
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0, 0, 0, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 250.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

std::vector<uint8_t> Gl_context::read_pixels(int width, int height)
{
    std::vector<uint8_t> px(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// floor: the cheapest frame the saver's display could draw, for the bench
// scripts to hold the garden against. It opens the screen as the saver's
// full screen does (the same SDL flags, a double buffer, the same GL state
// and projection) and then only clears and swaps; with -bg it also draws
// one textured quad far behind that fills the view, as a background picture
// would. Whatever the garden costs beyond this is the garden's own.
//
//   floor [-bg] [-w W -h H] [-bpp B] [-fps N] [-secs S]
//
// Ends on Escape, on closing, on SIGTERM or SIGINT (SDL turns them into a
// quit event), or after S seconds. Exit codes: 0 done, 1 the screen could
// not be opened, 2 bad arguments.
#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/Frame_pacer.h"

namespace {

struct Options {
    bool background = false;
    int width = 1024;
    int height = 768;
    int bpp = 32;
    int fps = 0;      // 0: unpaced
    double secs = 0;  // 0: until told to end
};

// One switch taking a whole number: true and the value when it is one in
// [low, high].
bool whole_number(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || v < low || v > high) return false;
    out = int(v);
    return true;
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!std::strcmp(a, "-bg")) {
            o.background = true;
            continue;
        }
        if (!value) return false;
        bool ok = false;
        if (!std::strcmp(a, "-w")) ok = whole_number(value, 1, 16384, o.width);
        else if (!std::strcmp(a, "-h")) ok = whole_number(value, 1, 16384, o.height);
        else if (!std::strcmp(a, "-bpp")) ok = whole_number(value, 8, 32, o.bpp);
        else if (!std::strcmp(a, "-fps")) ok = whole_number(value, 0, 1000, o.fps);
        else if (!std::strcmp(a, "-secs")) {
            char* end = nullptr;
            o.secs = std::strtod(value, &end);
            ok = end != value && *end == 0 && o.secs >= 0;
        }
        if (!ok) return false;
        ++i;
    }
    return true;
}

// A 1024x1024 RGB picture, as large as the garden's background texture,
// sampled linearly as the saver samples its pictures.
GLuint background_texture()
{
    const int side = 1024;
    std::vector<unsigned char> rgb(size_t(side) * side * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            unsigned char* p = &rgb[(size_t(y) * side + x) * 3];
            p[0] = static_cast<unsigned char>(40 + y / 8);
            p[1] = static_cast<unsigned char>(90 + ((x / 64 + y / 64) % 2) * 60);
            p[2] = static_cast<unsigned char>(255 - y / 4);
        }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return id;
}

// The saver's full-screen flags, buffers, GL state and projection.
bool open_screen(const Options& o)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    const Uint32 flags = SDL_OPENGL | SDL_FULLSCREEN | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWPALETTE | SDL_RESIZABLE;
    if (!SDL_SetVideoMode(o.width, o.height, o.bpp, flags)) return false;
    SDL_ShowCursor(SDL_DISABLE);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glViewport(0, 0, o.width, o.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(o.width) / double(o.height), 0.1, 250.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return true;
}

// The quad lies where the garden's background lies, 200 units ahead, and
// reaches a little past the view's edges at any aspect, unlit.
void draw_background(GLuint texture, double aspect)
{
    const double half_height = 200.0 * std::tan(22.5 * M_PI / 180.0) * 1.02;
    const double half_width = half_height * aspect;
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2d(0, 1);
    glVertex3d(-half_width, -half_height, -200.0);
    glTexCoord2d(1, 1);
    glVertex3d(half_width, -half_height, -200.0);
    glTexCoord2d(1, 0);
    glVertex3d(half_width, half_height, -200.0);
    glTexCoord2d(0, 0);
    glVertex3d(-half_width, half_height, -200.0);
    glEnd();
}

bool told_to_end()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT) return true;
        if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: floor [-bg] [-w W -h H] [-bpp B] [-fps N] [-secs S]\n");
        return 2;
    }
    if (!open_screen(o)) {
        std::fprintf(stderr, "floor: the screen could not be opened: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    const GLuint texture = o.background ? background_texture() : 0;
    const Uint32 start = SDL_GetTicks();
    // Paced by the saver's own pacer, so that a cap means the same here.
    Frame_pacer pacer(o.fps);
    pacer.start(start);
    while (!told_to_end()) {
        if (o.secs > 0 && SDL_GetTicks() - start >= Uint32(o.secs * 1000.0)) break;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (o.background) draw_background(texture, double(o.width) / double(o.height));
        SDL_GL_SwapBuffers();
        pacer.frame_done(SDL_GetTicks());
        if (const Uint32 wait = pacer.wait_ms(SDL_GetTicks())) SDL_Delay(wait);
    }
    SDL_Quit();
    return 0;
}

#include "app/Display.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>

#include "app/Media_window.h"
#include "platform/Desktop_window.h"
#include "platform/Monitor_list.h"
#include "platform/Platform.h"
#include "platform/Xwayland_full_screen.h"

SDL_Surface* screen_surface = nullptr;

namespace {

bool fail(const char* format)
{
    std::fprintf(stderr, format, SDL_GetError());
    SDL_Quit();
    return false;
}

void set_gl_state()
{
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

}  // namespace

// The desktop mode on several monitors: one window over all of them, each
// group of monitors a view. Decided before the media layer starts, which
// needs to be told not to keep to one head. A head the user chose keeps the
// garden on that monitor alone, and so does one view of the full screen's
// monitor's size (one monitor, or mirrors of one size). `window` is where
// the window goes.
bool Display::spread_over_monitors(Monitor_list::Area& window)
{
    Monitor_list::Area desktop, head;
    if (Monitor_list::head_chosen() || !Monitor_list::desktop(desktop)) return false;
    std::vector<Monitor_views::View> found = Monitor_views::of(Monitor_list::read(), desktop);
    if (found.empty() || (found.size() == 1 && Monitor_list::full_screen(head) && found[0].width == head.width &&
                          found[0].height == head.height))
        return false;
    views.swap(found);
    window = desktop;
    width = desktop.width;
    height = desktop.height;
    return true;
}

// The desktop mode on one monitor: the size the full screen's monitor (the
// primary, unless the user chose another head) has now, before any mode of
// ours is set.
void Display::take_monitor_size(const SDL_VideoInfo* info, Monitor_list::Area& area)
{
    if (!Monitor_list::full_screen(area) && info) area = {0, 0, info->current_w, info->current_h};
    width = area.width;
    height = area.height;
}

void Display::choose_flags(Kind kind, const SDL_VideoInfo* info, bool own_desktop_window,
                           const Monitor_list::Area& area)
{
    switch (kind) {
    case Kind::Full_screen:
        flags = SDL_OPENGL | SDL_FULLSCREEN | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWPALETTE | SDL_RESIZABLE;
        if (info && info->hw_available) flags |= SDL_HWSURFACE;
        if (info && info->blit_hw) flags |= SDL_HWACCEL;
        if (own_desktop_window) {
            // A borderless window made where it is to show, so that it
            // never shows anywhere else.
            flags = SDL_OPENGL | SDL_NOFRAME;
            static char position[64];
            std::snprintf(position, sizeof position, "SDL_VIDEO_WINDOW_POS=%d,%d", area.x, area.y);
            SDL_putenv(position);
        }
        break;
    case Kind::Own_window:
        flags = SDL_OPENGL | SDL_RESIZABLE;
        break;
    case Kind::Hosted:
        flags = SDL_OPENGL;
        break;
    }
}

bool Display::open(int32_t w, int32_t h, int32_t depth, Kind kind)
{
    width = w;
    height = h;
    bpp = depth;
    Platform::choose_video_driver();
    Platform::allow_display_sleep();
    const bool desktop = kind == Kind::Full_screen && width == 0 && height == 0;
    Monitor_list::Area area{0, 0, width, height};  // where a desktop window goes
    spread = desktop && spread_over_monitors(area);
    // A Wayland compositor gives keys only to a window it manages: one over
    // every output, a fixed mode centred in it.
    const bool wayland = kind == Kind::Full_screen && Xwayland_full_screen::active();
    if (wayland && !desktop) {
        views.resize(1);
        if (!Xwayland_full_screen::centre(width, height, views[0], area)) {
            SDL_SetError("%dx%d is larger than the primary monitor", width, height);
            return fail("Video mode set failed: %s\n");
        }
        width = area.width;
        height = area.height;
    }
    if (kind == Kind::Full_screen) Platform::keep_display_mode(!spread);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return fail("Video initialization failed: %s\n");

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (desktop && !spread) take_monitor_size(info, area);
    const bool own_desktop_window = desktop && Desktop_window::needed();
    choose_flags(kind, info, own_desktop_window, area);
    if (wayland) flags = SDL_OPENGL | SDL_NOFRAME;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // One swap per display refresh where the driver offers it, so a loop
    // paced by the swap does not spin.
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    screen_surface = SDL_SetVideoMode(width, height, bpp, flags);
    if (!screen_surface) return fail("Video mode set failed: %s\n");
    is_open = true;
    // Its name in the window list and its title bar; a lent window keeps
    // the name its host gave it.
    if (kind != Kind::Hosted) SDL_WM_SetCaption("Gardenlume", "Gardenlume");
    if (wayland) Xwayland_full_screen::take(Media_window::handle(), Monitor_list::read());
    if (own_desktop_window) {
        Desktop_window::place(Media_window::handle(), area);
        // The pointer stays on the garden's monitors, as in a full screen.
        SDL_WM_GrabInput(SDL_GRAB_ON);
    }
    set_gl_state();
    set_viewport(width, height);
    // A window on a desktop or a host's keeps the pointer the user sees.
    if (kind == Kind::Full_screen) SDL_ShowCursor(SDL_DISABLE);
    return true;
}

bool Display::follow_monitors()
{
    Monitor_list::Area window;
    if (!spread || !is_open || !Monitor_list::desktop(window)) return false;
    views = Monitor_views::of(Monitor_list::read(), window);
    width = window.width;
    height = window.height;
    Desktop_window::place(Media_window::handle(), window);
    return true;
}

bool Display::resize(int32_t w, int32_t h)
{
    if (w <= 0 || h <= 0) return false;
    // SDL 1.2 on X11 resizes a window of the same kind in place and keeps
    // the GL context (and so every texture). A lent window is the host's to
    // size: only the viewport follows it.
    if ((flags & SDL_RESIZABLE) && screen_surface) {
        SDL_Surface* surface = SDL_SetVideoMode(w, h, screen_surface->format->BitsPerPixel, flags);
        if (!surface) return false;
        screen_surface = surface;
    }
    width = w;
    height = h;
    return set_viewport(w, h);
}

bool Display::set_viewport(int32_t w, int32_t h)
{
    if (h == 0) h = 1;
    // The whole window as one view, at the garden's 45 degrees, wider when
    // it stands upright, as on a monitor among several.
    Monitor_views::View whole;
    whole.width = w;
    whole.height = h;
    whole.aspect = float(w) / float(h);
    whole.fov_y = Monitor_views::fov_y(whole.aspect);
    set_view(whole);
    return true;
}

void Display::set_view(const Monitor_views::View& view)
{
    glViewport(view.x, view.y, view.width, view.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(view.fov_y, view.aspect, 0.1, 250.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Display::toggle_fullscreen() { SDL_WM_ToggleFullScreen(screen_surface); }

void Display::close()
{
    if (!is_open) return;
    is_open = false;
    screen_surface = nullptr;
    SDL_Quit();
}

void setup_lights()
{
    const GLfloat ambient[] = {0.6f, 0.6f, 0.6f, 1.0f};
    const GLfloat diffuse[] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat constant_attenuation[] = {0.0f};
    // Fades the light gently over the garden's few hundred units.
    const GLfloat quadratic_attenuation[] = {0.00006f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT1, GL_CONSTANT_ATTENUATION, constant_attenuation);
    glLightfv(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, quadratic_attenuation);
    glEnable(GL_LIGHTING);
}

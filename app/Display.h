// The OpenGL window: opens SDL's video in one screen mode (full screen, an
// ordinary window, or a window a host lends us), sets the GL state every
// drawing relies on and the perspective projection, and hides the cursor on
// a full screen. Also the fixed parameters of the scene's one light.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <vector>

#include "platform/Monitor_views.h"

class Display {
public:
    // Where the garden is drawn: the one name the options, the display and
    // the loop share.
    enum class Kind {
        Full_screen,  // grabs the screen in the given mode, the classic saver
        Own_window,   // an ordinary resizable window (--window)
        Hosted        // a window the host lends (--root, --window-id,
                      // XSCREENSAVER_WINDOW), named by SDL_WINDOWID: no
                      // window of our own, no grab
    };

    Display() = default;
    ~Display() { close(); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // False when the screen cannot be opened: one line on stderr has said
    // why, the media layer is shut down again, and the caller ends with 1.
    // Full screen at 0 x 0 is the desktop, covered without a display mode
    // change: on one monitor (or the head the user chose) that monitor at the
    // size it has; on several, one window over all of them, each monitor
    // (or group of overlapping ones, such as mirrors) a view. Width and
    // height then hold the window's size.
    bool open(int32_t width, int32_t height, int32_t bpp, Kind kind = Kind::Full_screen);
    // The monitors changed: a window over several follows them (its size and
    // views). False when the display is not spread over monitors.
    bool follow_monitors();
    // A window's new size: the drawable follows (our own window only) and
    // the viewport and projection are set for it. False when SDL refuses.
    bool resize(int32_t width, int32_t height);
    static bool set_viewport(int32_t width, int32_t height);
    // One view's viewport and projection in a window over several.
    static void set_view(const Monitor_views::View& view);
    void toggle_fullscreen();
    void close();

    int32_t width = 0;
    int32_t height = 0;
    int32_t bpp = 0;
    // One per monitor (or group of overlapping ones) while spread over
    // several, empty otherwise (the whole window is the one view).
    std::vector<Monitor_views::View> views;

private:
    bool spread_over_monitors(Monitor_list::Area& window);
    void take_monitor_size(const SDL_VideoInfo* info, Monitor_list::Area& area);
    void choose_flags(Kind kind, const SDL_VideoInfo* info, bool own_desktop_window, const Monitor_list::Area& area);

    bool is_open = false;
    bool spread = false;
    Uint32 flags = 0;
};

// The surface SDL_SetVideoMode returned; null before open.
extern SDL_Surface* screen_surface;

// Sets the parameters of GL_LIGHT1 and enables lighting (not the light).
void setup_lights();

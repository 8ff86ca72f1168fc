// The desktop's monitors as the window system lists them, the primary one
// first: where the garden goes full screen, what size the desktop screen
// mode has, and what the covers cover.
//
//   Monitor_list::Area primary;
//   if (Monitor_list::primary(primary)) ... primary.width x primary.height
#pragma once
#include <vector>

class Monitor_list {
public:
    // A monitor's place on the desktop, in pixels.
    struct Area {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    // Every monitor, the primary one first (on X11 Xinerama's heads, which
    // RandR lists primary first; without Xinerama the one screen). Empty
    // when the window system cannot be asked.
    static std::vector<Area> read();
    // The primary monitor; false when there is none to ask about.
    static bool primary(Area& area);
    // The monitor the media layer's full screen goes to: the primary, or on
    // X11 the head that SDL_VIDEO_FULLSCREEN_HEAD (or ..._DISPLAY) names.
    static bool full_screen(Area& area);
    // Where a window over every monitor goes: on X11 the root window (the
    // media layer's full screen without a head covers it), on Windows the
    // virtual screen, left and upper monitors' negative places included.
    static bool desktop(Area& area);
    // Whether the user named the head for the media layer's full screen
    // (SDL_VIDEO_FULLSCREEN_HEAD or ..._DISPLAY, on X11).
    static bool head_chosen();

private:
    // Whether the media layer takes its full screen's head from the
    // environment on this system.
    static const bool head_from_environment;
};

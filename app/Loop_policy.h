// What ends the frame loop, how fast it runs and what it follows, for each
// place the garden is drawn:
//   full screen  Escape, and mouse movement after 3 s when "cfg" asks;
//                unpaced unless --max-fps is given;
//   own window   Escape and the window-close request; follows its resizes;
//                --max-fps (default 30);
//   hosted       nothing from the input (the host ends us with SIGTERM or by
//                destroying its window); follows the window's size; --max-fps.
// A termination signal ends every kind.
#pragma once
#include "app/Display.h"

class Cfg_record;
class Host_options;
class Host_window;
class Monitor_cover;

struct Loop_policy {
    static Loop_policy for_target(const Host_options& options, const Cfg_record& cfg, Host_window* host);
    // Full screen as the classic saver runs: unpaced, with the cfg's mouse rule.
    static Loop_policy full_screen(const Cfg_record& cfg);

    bool escape_ends = false;
    bool close_ends = false;      // SDL_QUIT, our own window's close button
    bool mouse_rule = false;      // late mouse movement ends it
    bool follows_resize = false;  // SDL_VIDEORESIZE
    Host_window* host = nullptr;  // a lent window, whose size is followed
    // Full screen: the other monitors' covers; Escape and movement they see
    // count as if over the garden.
    Monitor_cover* covers = nullptr;
    int max_fps = 0;              // 0: unpaced
};

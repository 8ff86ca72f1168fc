// Black, borderless windows kept on top of every monitor the full-screen
// garden does not show on, so the saver hides the whole desk and not just its
// primary monitor. They never take the focus. Full screen, the media layer
// holds the keyboard and keeps the pointer on the garden's monitor; should it
// fail to, what the covers see of the user (Escape, pointer movement) is
// collected for the main loop's end rules.
//
//   Monitor_cover covers;
//   covers.open();                    // after the full screen is up
//   ... each pass: covers.poll() ...
//   covers.close();                   // before the media layer shuts down
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "platform/Monitor_list.h"

class Monitor_cover {
public:
    using Area = Monitor_list::Area;

    // What the covers saw since the last poll.
    struct Input {
        bool escape = false;  // Escape pressed while a cover had the keyboard
        bool motion = false;  // the pointer moved over a cover
    };

    Monitor_cover();
    ~Monitor_cover();
    Monitor_cover(const Monitor_cover&) = delete;
    Monitor_cover& operator=(const Monitor_cover&) = delete;

    // Covers every monitor but the garden's: the primary one, the first of
    // Monitor_list, where the media layer puts its full screen. With one
    // monitor nothing is made; so too when the window system cannot be asked.
    void open();
    // Removes the covers; they are gone from the screen when it returns.
    void close();

    // Handles the covers' pending window-system events (keeping them on top)
    // and returns the input among them.
    Input poll();

    // The monitors to cover: each one that shares no pixel with
    // monitors[garden] (a mirror of the garden's monitor stays uncovered),
    // and a monitor listed twice only once.
    static std::vector<Area> to_cover(const std::vector<Area>& monitors, size_t garden);

    // The windows up, in the window system's terms; each implementation
    // defines it (a Win32 window procedure reaches it through its window).
    struct Shown;

private:
    std::unique_ptr<Shown> shown;
};

// Black, borderless windows kept on top of every monitor the full-screen
// garden does not show on, so the saver hides the whole desk and not just its
// own monitor. They never take the focus. Full screen, the media layer
// holds the keyboard and keeps the pointer on the garden's monitor; should it
// fail to, what the covers see of the user (Escape, pointer movement) is
// collected for the main loop's end rules. A monitor plugged in or out
// while the garden shows is covered or uncovered within a second. Under
// XWayland the garden's window spans every output and nothing is covered;
// Escape is still collected there (its release, which XWayland may tell
// without the press).
//
//   Monitor_cover covers;
//   covers.open(Media_window::handle());   // after the full screen is up
//   ... each pass: covers.poll() ...
//   covers.close();                        // before the media layer shuts down
#pragma once
#include <cstddef>
#include <cstdint>
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
        bool layout_changed = false;  // monitors came, went, moved or resized
    };

    Monitor_cover();
    ~Monitor_cover();
    Monitor_cover(const Monitor_cover&) = delete;
    Monitor_cover& operator=(const Monitor_cover&) = delete;

    // Covers every monitor the garden's window (the media layer's, as the
    // window system names it) does not reach, wherever the media layer put
    // it; without one, every monitor but the primary. With one monitor
    // nothing is shown; nothing either when the window system cannot be
    // asked.
    void open(uintptr_t garden_window = 0);
    // Removes the covers; they are gone from the screen when it returns.
    void close();

    // Handles the covers' pending window-system events (keeping them on top
    // of other programs' windows, following the monitors' layout) and
    // returns the input among them.
    Input poll();
    // Places the covers anew, after the garden's window has followed a
    // change of the monitors.
    void refit();

    // The monitors to cover: each one that shares no pixel with `garden`
    // (a mirror of the garden's monitor stays uncovered), and only once a
    // monitor listed twice or lying wholly inside another one to cover (a
    // smaller mirror of it), so that no two covers are equal or nested.
    static std::vector<Area> to_cover(const std::vector<Area>& monitors, const Area& garden);

    // The windows up, in the window system's terms; each implementation
    // defines it (a Win32 window procedure reaches it through its window).
    struct Shown;

private:
    std::unique_ptr<Shown> shown;
};

// The options a screensaver host or a user adds to the saver's command line:
// where to draw (full screen, a window of our own, or a window the host
// lends us) and how fast. They are taken out wherever they stand, so the
// host switch is read from what is left.
//
//   Host_options options = Host_options::read(Platform::arguments(), getenv("XSCREENSAVER_WINDOW"));
//   if (!options.problem.empty()) { usage; exit 2 }
//   read_run_mode(options.rest);
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/Display.h"

class Host_options {
public:
    using Target = Display::Kind;

    // `host_window` is the value of XSCREENSAVER_WINDOW, null when unset.
    static Host_options read(const std::vector<std::string>& arguments, const char* host_window);
    // A window id as X prints it: decimal or 0x-hex, not 0, within 32 bits.
    static bool parse_window_id(const std::string& text, unsigned long& id);

    // The one line the saver prints when `problem` is not empty.
    static const char* const usage;

    Target target = Target::Full_screen;
    unsigned long window = 0;  // hosted: 0 draws into the root window
    int max_fps = 30;          // 0: unpaced
    bool max_fps_given = false;  // full screen runs unpaced unless asked
    std::vector<std::string> rest;
    std::string problem;  // empty when the options were good

private:
    // Where to draw, from the options read and the daemon's variable.
    void choose_target(bool root, bool own_window, bool have_id, unsigned long id, const char* host_window);
};

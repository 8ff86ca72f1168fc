#include "app/Loop_policy.h"

#include "app/Host_options.h"
#include "resources/Cfg_record.h"

Loop_policy Loop_policy::full_screen(const Cfg_record& cfg)
{
    Loop_policy p;
    p.escape_ends = true;
    // Only the value 1 enables the rule; any other byte leaves it off.
    p.mouse_rule = cfg.mouse_exit == 1;
    return p;
}

Loop_policy Loop_policy::for_target(const Host_options& options, const Cfg_record& cfg, Host_window* host)
{
    Loop_policy p;
    switch (options.target) {
    case Display::Kind::Full_screen:
        p = full_screen(cfg);
        p.max_fps = options.max_fps_given ? options.max_fps : 0;
        return p;
    case Display::Kind::Own_window:
        p.escape_ends = true;
        p.close_ends = true;
        p.follows_resize = true;
        break;
    case Display::Kind::Hosted:
        p.host = host;
        break;
    }
    p.max_fps = options.max_fps;
    return p;
}

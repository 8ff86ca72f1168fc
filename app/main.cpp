// Entry point of the saver: takes out the host's options, picks the run mode
// from the rest of the command line, then declines the preview, starts the
// settings program, or shows the garden: full screen until Escape, or in a
// window (a host's or our own) until the host or the user ends it.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <SDL.h>
#include <optional>

#include "resources/Cfg_record.h"
#include "app/Display.h"
#include "app/Garden.h"
#include "app/Host_options.h"
#include "app/Main_loop.h"
#include "app/Media_window.h"
#include "app/Roots.h"
#include "app/Run_mode.h"
#include "app/Settings.h"
#include "app/Video_mode.h"
#include "platform/Command_line.h"
#include "platform/Host_window.h"
#include "platform/Monitor_cover.h"
#include "platform/Platform.h"
#include "resources/Pak_cache.h"
#include "resources/Pak_prefetch.h"
#include "scene/Node.h"

namespace {

// The black windows over the monitors the full screen leaves free; every way
// out removes them before the display closes.
Monitor_cover monitor_cover;

// The saver's one early end: a pack the scene needs cannot be read. The
// display goes first, so a screen mode it changed is given back to the
// desktop; then the process ends silently with 1.
void end_on_missing_pack(const std::string&)
{
    monitor_cover.close();
    SDL_Quit();
    std::exit(1);
}

// The host's window or X connection is gone (the host or the server
// ended): nothing is left to draw on, and the host expects a quiet end.
void end_on_lost_connection() { std::_Exit(0); }

// The X server went away under the full screen. Every connection died with
// it: the process ends here, once, without running a destructor that would
// talk to one of them again.
void end_on_lost_display()
{
    std::fputs("Video connection lost: the X server is gone\n", stderr);
    std::_Exit(1);
}

// Opens the screen the options ask for: the mode's size full screen or in
// a window of our own, a lent window at its own size. Anything but 0 is the
// exit code, after one line on stderr: 2 for a window id that names no
// window (a bad argument, as a malformed id is), 1 otherwise.
int open_screen(const Host_options& options, const Video_mode& mode, Host_window& host, Display& display)
{
    // A lent window is drawn at its own size, in its own visual. A window
    // of our own opens at the mode's size; the desktop's would not fit on
    // the desktop beside its frame, so it takes the default row's.
    const bool own_window = options.target == Display::Kind::Own_window;
    const Video_mode& size = mode.is_desktop() && own_window ? Video_mode::row(Video_mode::default_index) : mode;
    int32_t width = size.width, height = size.height, bpp = size.bpp;
    if (options.target == Display::Kind::Hosted) {
        Host_window::catch_x_errors(end_on_lost_connection);
        if (!host.open(options.window) || !host.size(width, height)) {
            if (!host.server_answered()) {
                std::fprintf(stderr, "Video initialization failed: no X display to find window 0x%lx on\n",
                             options.window);
                return 1;
            }
            std::fprintf(stderr, "gardenlume: no window 0x%lx on the X display (--window-id names a window)\n",
                         options.window);
            return 2;
        }
        host.lend_to_media_layer();
        bpp = 0;
    }
    return display.open(width, height, bpp, options.target) ? 0 : 1;
}

int run_saver(const Host_options& options)
{
    const std::string cfg_path = settings.file_path("cfg");
    pak_cache.set_directory(settings.folder());
    // A missing, foreign or unreadable file leaves the defaults.
    Cfg_record* cfg = new Cfg_record();
    cfg->read_file(cfg_path, 1);
    const Video_mode& mode = Video_mode::row(cfg->video_mode);

    Host_window host;
    // Opening the display takes a good part of start-up: the packs are read
    // and their pictures decoded meanwhile, so building the scene finds them
    // ready and only uploads.
    Pak_prefetch prefetch(pak_cache, Garden::packs());
    Display display;
    if (const int refused = open_screen(options, mode, host, display)) {
        delete cfg;
        return refused;
    }
    if (options.target == Display::Kind::Full_screen) {
        // A host covers its monitors itself. The covers go where the
        // garden's window is not.
        monitor_cover.open(Media_window::handle());
        Host_window::catch_lost_connection(end_on_lost_display);
    } else {
        // SDL has put its own handlers first; a window of ours destroyed
        // under us (the host's, or ours by xkill) must end us quietly, not
        // print and exit 1. Errors about anything else go on to SDL's.
        Host_window::count_as_ours(Media_window::handle());
        Host_window::catch_x_errors(end_on_lost_connection);
    }
    pak_cache.on_missing_pack(end_on_missing_pack);
    prefetch.hand_over(pak_cache);

    std::srand(unsigned(std::time(nullptr)));
    scene_root = new Node();
    overlay_root = new Node();
    std::optional<Garden> garden;
    garden.emplace(*scene_root, *overlay_root);
    pak_cache.drop_read_ahead();

    Loop_policy policy = Loop_policy::for_target(options, *cfg, &host);
    policy.covers = &monitor_cover;
    Main_loop loop(policy, &display);
    loop.run();

    delete cfg;
    delete scene_root;
    scene_root = nullptr;
    delete overlay_root;
    overlay_root = nullptr;
    garden.reset();
    monitor_cover.close();
    display.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // First of all: a host may ask us to end within our first milliseconds,
    // and SDL leaves a handler it finds in place.
    Platform::catch_termination();
    Platform::record_arguments(argc, argv);
    const Host_options options = Host_options::read(Platform::arguments(), std::getenv("XSCREENSAVER_WINDOW"));
    if (!options.problem.empty()) {
        std::fprintf(stderr, "%s (%s)\n", Host_options::usage, options.problem.c_str());
        return 2;
    }
    switch (read_run_mode(options.rest)) {
    case Run_mode::Preview:
        return 0;
    case Run_mode::Configure:
        // "/c:<window>" from the control panel: the settings dialog is made
        // modal to that window. config.exe takes the switch as it came.
        settings.launch("config.exe", Command_line::host_switch(options.rest).text);
        return 0;
    case Run_mode::Run:
        break;
    }
    return run_saver(options);
}

// Entry point of the saver: picks the run mode from the command line, then
// declines the preview, starts the settings program, or shows the garden
// full screen until Escape.
#include <cstdlib>
#include <ctime>
#include <string>

#include <SDL.h>
#include <optional>

#include "app/Cfg_record.h"
#include "app/Display.h"
#include "app/Garden.h"
#include "app/Main_loop.h"
#include "app/Roots.h"
#include "app/Run_mode.h"
#include "app/Settings.h"
#include "app/Video_mode.h"
#include "platform/Platform.h"
#include "resources/Pak_cache.h"
#include "scene/Node.h"

namespace {

// The saver's one early end: a pack the scene needs cannot be read. The
// display goes first, so a screen mode it changed is given back to the
// desktop; then the process ends silently with 1.
void end_on_missing_pack(const std::string&)
{
    SDL_Quit();
    std::exit(1);
}

int run_saver()
{
    const std::string cfg_path = settings.file_path("cfg");
    pak_cache.set_directory(settings.folder());
    // A missing, foreign or unreadable file leaves the defaults.
    Cfg_record* cfg = new Cfg_record();
    cfg->read_file(cfg_path, 1);
    const Video_mode& mode = Video_mode::row(cfg->video_mode);

    Display display;
    if (!display.open(mode.width, mode.height, mode.bpp)) {
        delete cfg;
        return 1;
    }
    pak_cache.on_missing_pack(end_on_missing_pack);

    std::srand(unsigned(std::time(nullptr)));
    scene_root = new Node();
    overlay_root = new Node();
    std::optional<Garden> garden;
    garden.emplace(*scene_root, *overlay_root);

    Main_loop loop(*cfg);
    loop.run();

    delete cfg;
    delete scene_root;
    scene_root = nullptr;
    delete overlay_root;
    overlay_root = nullptr;
    garden.reset();
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
    switch (read_run_mode()) {
    case Run_mode::Preview:
        return 0;
    case Run_mode::Configure:
        settings.launch("config.exe");
        return 0;
    case Run_mode::Run:
        break;
    }
    return run_saver();
}

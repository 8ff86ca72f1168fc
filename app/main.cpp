// Entry point of the saver: picks the run mode from the command line, then
// declines the preview, starts the settings program, or shows the garden
// full screen until Escape.
#include <cstdlib>
#include <ctime>
#include <fstream>
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

int run_saver()
{
    std::ifstream cfg_stream(settings.file_path("cfg"), std::ios::binary);
    pak_cache.set_directory(settings.folder());
    Cfg_record* cfg = cfg_stream.is_open() ? new Cfg_record(cfg_stream, 1) : new Cfg_record();
    const Video_mode& mode = Video_mode::row(cfg->video_mode);

    // Before SDL_Init: SDL leaves handlers it finds in place.
    Platform::catch_termination();
    Display display;
    display.open(mode.width, mode.height, mode.bpp);

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
    cfg_stream.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
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

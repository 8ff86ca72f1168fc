// config.exe: shows and changes the saver's settings file "cfg" in the
// installation folder (found as the saver finds it).
//
//   config.exe                      prints the current settings
//   config.exe --list-modes         prints the table of screen modes
//   config.exe --mode N|desktop|WxH@BPP
//                                   chooses a screen mode (desktop: every
//                                   monitor at its own size)
//   config.exe --mouse-exit on|off  whether mouse movement ends the saver
//   config.exe --reset              writes a fresh file (defaults, then any
//                                   changes given)
//
// A file of another format, or cut short, is never rewritten unless --reset
// asks for it: its other fields would be lost without a word.
//
// On Windows, without options or with the saver's "/c" or "/c:<window>",
// it is a dialog (modal to that window); the options stay for scripts and
// print to the console they were started from.
//
// Options never prompt: a folder this user may not write (an installation's,
// an administrator's) ends with 1 and a message that names the remedy.
//
// Exit codes: 0 done, 1 the file could not be read as ours or written,
// 2 bad arguments.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/Cfg_record.h"
#include "app/Settings.h"
#include "app/Video_mode.h"
#include "tools/config/Cfg_file.h"
#include "tools/config/Config_request.h"
#include "tools/config/Save_plan.h"
#include "platform/Command_line.h"
#include "platform/Monitor_list.h"
#include "platform/Platform.h"
#include "tools/config/Settings_dialog.h"

namespace {

// Every monitor's size now, the primary first: "1920x1080 + 1280x1024",
// or empty when no window system answers.
std::string monitor_sizes(const std::vector<Monitor_list::Area>& monitors)
{
    std::string sizes;
    for (const Monitor_list::Area& m : monitors)
        sizes += (sizes.empty() ? "" : " + ") + std::to_string(m.width) + "x" + std::to_string(m.height);
    return sizes;
}

std::string mode_text(const Video_mode& m)
{
    const std::vector<Monitor_list::Area> monitors = Monitor_list::read();
    if (m.is_desktop()) {
        const std::string now = monitor_sizes(monitors);
        return "the desktop: every monitor at its own size at " + std::to_string(m.bpp) + " bpp" +
               (now.empty() ? "" : ", now " + now);
    }
    return std::to_string(m.width) + "x" + std::to_string(m.height) + " at " + std::to_string(m.bpp) + " bpp" +
           (monitors.size() > 1 ? " on the primary monitor, the others black" : "");
}

void list_modes()
{
    for (int32_t i = 0; i < Video_mode::count; ++i) {
        const Video_mode& m = Video_mode::row(i);
        std::printf("%2d  %dx%d@%d%s\n", i, m.width, m.height, m.bpp,
                    i == Video_mode::default_index ? "  (default)" : "");
    }
    const std::string now = monitor_sizes(Monitor_list::read());
    std::printf("%2d  desktop@%d  (every monitor at its own size%s, no mode change)\n", Video_mode::desktop_index,
                Video_mode::bpp_of(Video_mode::desktop_index), now.empty() ? "" : (": " + now + " now").c_str());
}

// Where the settings shown come from; `why` says what is wrong with a file
// that gave the defaults (a folder, a text file, another format).
std::string source_text(Cfg_file::Source source, const std::string& why)
{
    switch (source) {
    case Cfg_file::Source::File:
        return "read from the file";
    case Cfg_file::Source::Missing:
        return "defaults (no file)";
    case Cfg_file::Source::Unreadable:
    case Cfg_file::Source::Invalid:
        return "defaults (the file " + why + ")";
    }
    return "";
}

void print_settings(const std::string& path, const Cfg_record& record, const std::string& source)
{
    std::string file;
    const std::string link = Cfg_file::target(path, file).ok() && file != path ? " (a link to " + file + ")" : "";
    std::printf("settings file: %s%s\n", path.c_str(), link.c_str());
    std::printf("source: %s\n", source.c_str());
    if (Video_mode::valid(record.video_mode))
        std::printf("screen mode: %d (%s)\n", record.video_mode,
                    mode_text(Video_mode::row(record.video_mode)).c_str());
    else
        std::printf("screen mode: %d (no such row; the saver uses %d: %s)\n", record.video_mode,
                    Video_mode::default_index, mode_text(Video_mode::row(record.video_mode)).c_str());
    std::printf("mouse exit: %s\n", record.mouse_exit == 1 ? "on" : "off");
}

// Writes the changes asked for into the file at `path`, keeping its other
// fields; a file it cannot read as ours is left alone unless --reset.
// Returns the exit code.
int change_settings(const std::string& path, const Config_request& request)
{
    Cfg_record record;
    std::string why;
    const Cfg_file::Source source = Cfg_file::read(path, record, why);
    if (request.reset) {
        record = Cfg_record();
    } else if (source == Cfg_file::Source::Unreadable || source == Cfg_file::Source::Invalid) {
        // Only a file of ours can be written afresh; a folder stays one.
        const bool fresh_helps = source == Cfg_file::Source::Invalid;
        std::fprintf(stderr, "config.exe: %s: %s; left as it is%s\n", path.c_str(), why.c_str(),
                     fresh_helps ? " (--reset writes a fresh file)" : "");
        return 1;
    }
    // spare_value and the two texts stay as the file had them.
    if (request.set_mode) record.video_mode = request.mode;
    if (request.set_mouse) record.mouse_exit = request.mouse_exit;
    const Write_status written = Cfg_file::write(path, record);
    switch (Save_plan::next(written, false)) {
    case Save_plan::Step::done:
        break;
    case Save_plan::Step::fail_with_remedy:
        std::fprintf(stderr, "config.exe: %s: %s; %s\n", path.c_str(), written.text().c_str(),
                     Save_plan::remedy(Platform::consent_by_prompt()));
        return 1;
    default:
        std::fprintf(stderr, "config.exe: %s: %s\n", path.c_str(), written.text().c_str());
        return 1;
    }
    print_settings(path, record, source_text(Cfg_file::Source::File, ""));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // The screen saver's "/c", "/c:<window>" (or nothing at all, on
    // Windows) opens the dialog; options are for scripts.
    const Command_line::Host_switch host =
        Command_line::host_switch(std::vector<std::string>(argv + 1, argv + argc));
    if (argc < 2 || (host.letter == 'c' && host.plain)) {
        if (Settings_dialog::available())
            return Settings_dialog::run(settings.file_path("cfg"), uintptr_t(host.window));
        argc = 1;  // from the saver: the current settings, as without arguments
    }
    Platform::attach_parent_console();
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        Config_request::print_usage(stdout);
        return 0;
    }
    Config_request request;
    std::string problem;
    if (!Config_request::parse(argc, argv, request, problem)) {
        std::fprintf(stderr, "config.exe: %s\n", problem.c_str());
        return 2;
    }
    if (request.list_modes) {
        list_modes();
        return 0;
    }

    const std::string path = settings.file_path("cfg");
    if (request.changes()) return change_settings(path, request);
    Cfg_record record;
    std::string why;
    const Cfg_file::Source source = Cfg_file::read(path, record, why);
    print_settings(path, record, source_text(source, why));
    return 0;
}

// config.exe: shows and changes the saver's settings file "cfg" in the
// installation folder (found as the saver finds it).
//
//   config.exe                      prints the current settings
//   config.exe --list-modes         prints the table of screen modes
//   config.exe --mode N|desktop|WxH@BPP
//                                   chooses a screen mode (desktop: the
//                                   primary monitor's own size)
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

#include "resources/Cfg_record.h"
#include "app/Settings.h"
#include "app/Video_mode.h"
#include "tools/config/Cfg_file.h"
#include "tools/config/Save_plan.h"
#include "platform/Command_line.h"
#include "platform/Monitor_list.h"
#include "platform/Platform.h"
#include "tools/config/Settings_dialog.h"

namespace {

struct Request {
    bool list_modes = false;
    bool set_mode = false;
    int32_t mode = 0;
    bool set_mouse = false;
    uint8_t mouse_exit = 0;
    bool reset = false;
};

struct Option {
    const char* name;
    const char* argument;  // null when the option takes none
    const char* help;
    bool (*apply)(const std::string& value, Request& request, std::string& problem);
};

// The primary monitor's size now, "1920x1080", or empty when no window
// system answers.
std::string desktop_size()
{
    Monitor_list::Area primary;
    if (!Monitor_list::primary(primary)) return std::string();
    return std::to_string(primary.width) + "x" + std::to_string(primary.height);
}

std::string mode_text(const Video_mode& m)
{
    if (m.is_desktop()) {
        const std::string now = desktop_size();
        return "the desktop: the primary monitor's size at " + std::to_string(m.bpp) + " bpp" +
               (now.empty() ? "" : ", now " + now);
    }
    return std::to_string(m.width) + "x" + std::to_string(m.height) + " at " + std::to_string(m.bpp) +
           " bpp";
}

bool parse_int(const std::string& s, int32_t& out)
{
    if (s.empty() || s.size() > 9) return false;
    int32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

// "N" (a row index), "desktop" or "WxH@BPP" (the fixed row with those
// values).
bool parse_mode(const std::string& s, int32_t& index)
{
    int32_t n = 0;
    if (s == "desktop") {
        index = Video_mode::desktop_index;
        return true;
    }
    if (parse_int(s, n)) {
        if (!Video_mode::valid(n)) return false;
        index = n;
        return true;
    }
    size_t x = s.find('x'), at = s.find('@');
    if (x == std::string::npos || at == std::string::npos || at < x) return false;
    int32_t w = 0, h = 0, bpp = 0;
    if (!parse_int(s.substr(0, x), w) || !parse_int(s.substr(x + 1, at - x - 1), h) ||
        !parse_int(s.substr(at + 1), bpp))
        return false;
    for (int32_t i = 0; i < Video_mode::count; ++i) {
        const Video_mode& m = Video_mode::row(i);
        if (m.width == w && m.height == h && m.bpp == bpp) {
            index = i;
            return true;
        }
    }
    return false;
}

bool apply_list(const std::string&, Request& r, std::string&)
{
    r.list_modes = true;
    return true;
}

bool apply_mode(const std::string& value, Request& r, std::string& problem)
{
    if (!parse_mode(value, r.mode)) {
        // A size of today's monitors (1920x1080) is no fixed row: the
        // desktop row is the way to it.
        const bool a_size = value.find('x') != std::string::npos && value.find('@') != std::string::npos;
        problem = "--mode: no screen mode \"" + value + "\"" +
                  (a_size ? "; for the monitor's own size use --mode desktop (fixed sizes: --list-modes)"
                          : " (0 to 18, desktop, or WxH@BPP from --list-modes)");
        return false;
    }
    r.set_mode = true;
    return true;
}

bool apply_mouse(const std::string& value, Request& r, std::string& problem)
{
    if (value != "on" && value != "off") {
        problem = "--mouse-exit: expected on or off, got \"" + value + "\"";
        return false;
    }
    r.set_mouse = true;
    r.mouse_exit = value == "on" ? 1 : 0;
    return true;
}

bool apply_reset(const std::string&, Request& r, std::string&)
{
    r.reset = true;
    return true;
}

const Option options[] = {
    {"--list-modes", nullptr, "print the table of screen modes", apply_list},
    {"--mode", "N|desktop|WxH@BPP", "choose the screen mode (a row of --list-modes)", apply_mode},
    {"--mouse-exit", "on|off", "whether mouse movement ends the saver after 3 seconds", apply_mouse},
    {"--reset", nullptr, "write a fresh file: the defaults, then the changes given", apply_reset},
};

void print_usage(FILE* out)
{
    std::fprintf(out, "usage: config.exe [options]   (no options: print the current settings)\n");
    for (const Option& o : options)
        std::fprintf(out, "  %s %-18s %s\n", o.name, o.argument ? o.argument : "", o.help);
}

// Fills `request`; false with a one-line problem for bad arguments.
bool parse_arguments(int argc, char** argv, Request& request, std::string& problem)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const Option* found = nullptr;
        for (const Option& o : options)
            if (arg == o.name) found = &o;
        if (!found) {
            problem = "unknown option \"" + arg + "\" (try --help)";
            return false;
        }
        std::string value;
        if (found->argument) {
            if (i + 1 >= argc) {
                problem = arg + ": missing value " + found->argument;
                return false;
            }
            value = argv[++i];
        }
        if (!found->apply(value, request, problem)) return false;
    }
    if (request.list_modes && (request.set_mode || request.set_mouse || request.reset)) {
        problem = "--list-modes does not combine with changes";
        return false;
    }
    return true;
}

void list_modes()
{
    for (int32_t i = 0; i < Video_mode::count; ++i) {
        const Video_mode& m = Video_mode::row(i);
        std::printf("%2d  %dx%d@%d%s\n", i, m.width, m.height, m.bpp,
                    i == Video_mode::default_index ? "  (default)" : "");
    }
    const std::string now = desktop_size();
    std::printf("%2d  desktop@%d  (the primary monitor's size%s, no mode change)\n", Video_mode::desktop_index,
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
    std::printf("settings file: %s\n", path.c_str());
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
int change_settings(const std::string& path, const Request& request)
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
        print_usage(stdout);
        return 0;
    }
    Request request;
    std::string problem;
    if (!parse_arguments(argc, argv, request, problem)) {
        std::fprintf(stderr, "config.exe: %s\n", problem.c_str());
        return 2;
    }
    if (request.list_modes) {
        list_modes();
        return 0;
    }

    const std::string path = settings.file_path("cfg");
    if (request.set_mode || request.set_mouse || request.reset) return change_settings(path, request);
    Cfg_record record;
    std::string why;
    const Cfg_file::Source source = Cfg_file::read(path, record, why);
    print_settings(path, record, source_text(source, why));
    return 0;
}

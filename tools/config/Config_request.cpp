#include "tools/config/Config_request.h"

#include "app/Video_mode.h"

namespace {

struct Option {
    const char* name;
    const char* argument;  // null when the option takes none
    const char* help;
    bool (*apply)(const std::string& value, Config_request& request, std::string& problem);
};

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

bool apply_list(const std::string&, Config_request& r, std::string&)
{
    r.list_modes = true;
    return true;
}

bool apply_mode(const std::string& value, Config_request& r, std::string& problem)
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

bool apply_mouse(const std::string& value, Config_request& r, std::string& problem)
{
    if (value != "on" && value != "off") {
        problem = "--mouse-exit: expected on or off, got \"" + value + "\"";
        return false;
    }
    r.set_mouse = true;
    r.mouse_exit = value == "on" ? 1 : 0;
    return true;
}

bool apply_reset(const std::string&, Config_request& r, std::string&)
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

}  // namespace

void Config_request::print_usage(FILE* out)
{
    std::fprintf(out, "usage: config.exe [options]   (no options: print the current settings)\n");
    for (const Option& o : options)
        std::fprintf(out, "  %s %-18s %s\n", o.name, o.argument ? o.argument : "", o.help);
}

bool Config_request::parse(int argc, char** argv, Config_request& request, std::string& problem)
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
    if (request.list_modes && request.changes()) {
        problem = "--list-modes does not combine with changes";
        return false;
    }
    return true;
}

#include "app/Host_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

const char* const Host_options::usage =
    "usage: gardenlume [--root | --window-id ID | --window] [--max-fps N] [/s | /p | /c]";

namespace {

enum class Option { Root, Window_id, Window, Max_fps };

// Each option in both spellings a host may use; `takes_value` options eat
// the next argument.
struct Option_row {
    const char* name;
    Option option;
    bool takes_value;
};
const Option_row option_table[] = {
    {"--root", Option::Root, false},         {"-root", Option::Root, false},
    {"--window-id", Option::Window_id, true}, {"-window-id", Option::Window_id, true},
    {"--window", Option::Window, false},     {"-window", Option::Window, false},
    {"--max-fps", Option::Max_fps, true},    {"-max-fps", Option::Max_fps, true},
};

const Option_row* find_option(const std::string& argument)
{
    for (const Option_row& row : option_table)
        if (argument == row.name) return &row;
    return nullptr;
}

// A whole unsigned number in `base`, digits only (no sign, no blanks).
bool parse_unsigned(const std::string& digits, int base, unsigned long long limit, unsigned long long& value)
{
    if (digits.empty()) return false;
    for (char c : digits) {
        const bool ok = base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                   : (c >= '0' && c <= '9');
        if (!ok) return false;
    }
    errno = 0;
    char* end = nullptr;
    value = std::strtoull(digits.c_str(), &end, base);
    return errno == 0 && *end == '\0' && value <= limit;
}

}  // namespace

bool Host_options::parse_window_id(const std::string& text, unsigned long& id)
{
    unsigned long long value = 0;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!parse_unsigned(hex ? text.substr(2) : text, hex ? 16 : 10, 0xFFFFFFFFull, value) || value == 0)
        return false;
    id = static_cast<unsigned long>(value);
    return true;
}

Host_options Host_options::read(const std::vector<std::string>& arguments, const char* host_window)
{
    Host_options options;
    bool root = false, own_window = false, have_id = false;
    unsigned long id = 0;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const Option_row* row = find_option(arguments[i]);
        if (!row) {
            options.rest.push_back(arguments[i]);
            continue;
        }
        std::string value;
        if (row->takes_value) {
            if (i + 1 >= arguments.size()) {
                options.problem = std::string(row->name) + " needs a value";
                return options;
            }
            value = arguments[++i];
        }
        switch (row->option) {
        case Option::Root:
            root = true;
            break;
        case Option::Window:
            own_window = true;
            break;
        case Option::Window_id:
            if (!parse_window_id(value, id)) {
                options.problem = "bad window id: " + value;
                return options;
            }
            have_id = true;
            break;
        case Option::Max_fps: {
            unsigned long long fps = 0;
            if (!parse_unsigned(value, 10, 1000, fps)) {
                options.problem = "bad frame rate (0 to 1000): " + value;
                return options;
            }
            options.max_fps = int(fps);
            options.max_fps_given = true;
            break;
        }
        }
    }
    options.choose_target(root, own_window, have_id, id, host_window);
    return options;
}

void Host_options::choose_target(bool root, bool own_window, bool have_id, unsigned long id,
                                 const char* host_window)
{
    // An explicit window id wins; then --root, which means the daemon's
    // window when it lends one; then --window; the daemon's variable alone
    // also makes a hosted run, as the daemon may start us without options.
    const bool env_window = host_window && *host_window;
    unsigned long env_id = 0;
    if (env_window && !parse_window_id(host_window, env_id) && !have_id && !own_window) {
        problem = std::string("bad XSCREENSAVER_WINDOW: ") + host_window;
        return;
    }
    if (have_id) {
        target = Target::Hosted;
        window = id;
    } else if (root) {
        target = Target::Hosted;
        window = env_id;
    } else if (own_window) {
        target = Target::Own_window;
    } else if (env_window) {
        target = Target::Hosted;
        window = env_id;
    }
}

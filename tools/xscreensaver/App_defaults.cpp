#include "tools/xscreensaver/App_defaults.h"

#include <cstdlib>

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }
bool octal(char c) { return c >= '0' && c <= '7'; }

// The resource one line names, with its value from `at` on (the line's
// continuations and escapes resolved); `at` ends after the line.
std::string read_value(const std::string& text, size_t& at)
{
    std::string value;
    while (at < text.size() && blank(text[at])) ++at;
    while (at < text.size() && text[at] != '\n') {
        const char c = text[at++];
        if (c != '\\' || at == text.size()) {
            value.push_back(c);
            continue;
        }
        const char next = text[at];
        if (next == '\n') {
            ++at;
        } else if (next == 'n') {
            value.push_back('\n');
            ++at;
        } else if (next == '\\') {
            value.push_back('\\');
            ++at;
        } else if (at + 2 < text.size() && octal(next) && octal(text[at + 1]) && octal(text[at + 2])) {
            value.push_back(char((next - '0') * 64 + (text[at + 1] - '0') * 8 + (text[at + 2] - '0')));
            at += 3;
        } else {
            value.push_back('\\');
        }
    }
    ++at;
    return value;
}

void skip_line(const std::string& text, size_t& at)
{
    while (at < text.size() && text[at] != '\n') ++at;
    ++at;
}

bool names_programs(const std::string& resource)
{
    return resource == "*programs" || resource == "XScreenSaver.programs" || resource == "XScreenSaver*programs";
}

}  // namespace

std::string App_defaults::path()
{
    const char* other = std::getenv("GARDENLUME_XSCREENSAVER_APP_DEFAULTS");
    return other && *other ? other : "/etc/X11/app-defaults/XScreenSaver";
}

bool App_defaults::programs(const std::string& text, std::string& value)
{
    bool found = false;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && blank(text[at])) ++at;
        // Comments ('!') and preprocessor lines ('#') name no resource.
        const size_t colon = text.find_first_of(":\n", at);
        if (at >= text.size() || text[at] == '!' || text[at] == '#' || colon == std::string::npos ||
            text[colon] != ':') {
            skip_line(text, at);
            continue;
        }
        size_t end = colon;
        while (end > at && blank(text[end - 1])) --end;
        const std::string resource = text.substr(at, end - at);
        at = colon + 1;
        const std::string read = read_value(text, at);
        if (names_programs(resource)) {
            value = read;
            found = true;
        }
    }
    return found;
}

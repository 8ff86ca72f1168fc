#include "platform/Command_line.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string Command_line::after_program(const std::string& line)
{
    size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        // An unclosed quote makes the whole line the program path.
        i = close == std::string::npos ? line.size() : close + 1;
    }
    while (i < line.size() && !is_blank(line[i])) ++i;
    return line.substr(i);
}

std::vector<std::string> Command_line::split(const std::string& text)
{
    std::vector<std::string> args;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && is_blank(text[i])) ++i;
        if (i == text.size()) return args;
        std::string arg;
        bool quoted = false;
        for (; i < text.size() && (quoted || !is_blank(text[i])); ++i) {
            if (text[i] == '"')
                quoted = !quoted;
            else
                arg += text[i];
        }
        args.push_back(arg);
    }
}

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

Command_line::Host_switch Command_line::host_switch(const std::vector<std::string>& args)
{
    Host_switch s;
    if (args.empty()) return s;
    const std::string& first = args[0];
    // Any character after the "/" counts as the letter, as the hosts' own
    // rule has it: "/x" runs the saver like "/s".
    if (first.size() < 2 || (first[0] != '/' && first[0] != '-')) return s;
    const char letter = first[1];
    s.letter = char(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
    s.text = first;
    s.plain = first.size() == 2 || first[2] == ':';
    std::string number;
    if (first.size() > 2 && first[2] == ':') number = first.substr(3);
    else if (first.size() == 2 && args.size() > 1) number = args[1];
    if (number.empty() || number.size() > 19) return s;
    unsigned long long value = 0;
    for (char c : number) {
        if (c < '0' || c > '9') return s;
        value = value * 10 + unsigned(c - '0');
    }
    s.window = value;
    return s;
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

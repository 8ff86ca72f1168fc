// The arguments of a Windows-style command line, the way the screensaver
// hosts write it: a program path (in quotes when it holds blanks), then the
// arguments separated by blanks; a quoted argument may hold blanks.
#pragma once
#include <string>
#include <vector>

class Command_line {
public:
    // The text after the program path: a quoted path ends at its closing
    // quote, an unquoted one at the first blank or tab.
    static std::string after_program(const std::string& line);
    // Splits argument text at blanks and tabs; quotes group and are dropped.
    static std::vector<std::string> split(const std::string& text);
};

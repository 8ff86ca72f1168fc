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

    // The screensaver host's switch: the first argument, "/" or "-" and a
    // letter, in either case, with anything after the letter ("/c:1234",
    // "/p 1234", "/scr"). The one place that reads it: the saver's run
    // mode, what it passes on to config.exe and config.exe's own dialog
    // switch all come from here.
    struct Host_switch {
        char letter = 0;     // lower case; 0: the arguments hold no switch
        std::string text;    // the first argument as it came, when a switch
        bool plain = false;  // nothing after the letter but ":<window>"
        // The window after ":" or in the next argument ("/c:1234",
        // "/p 1234"); 0 when there is none or it is not a decimal number.
        unsigned long long window = 0;
    };
    static Host_switch host_switch(const std::vector<std::string>& args);
};

// XScreenSaver's app-defaults file (/etc/X11/app-defaults/XScreenSaver), an
// X resource file: where the daemon takes its list of hacks from when the
// user has no ~/.xscreensaver, and which the settings program writes out
// whole, each entry enabled or disabled as it is there.
#pragma once
#include <string>

class App_defaults {
public:
    // Where the system's file lies; GARDENLUME_XSCREENSAVER_APP_DEFAULTS
    // names another (for tests).
    static std::string path();
    // The value of its programs resource ("*programs", or under the class
    // "XScreenSaver"), read as Xlib reads a resource file: a backslash
    // before a line end goes on in the next line, "\n" is a newline, "\\" a
    // backslash, "\ooo" an octal byte. False when the text has none.
    static bool programs(const std::string& text, std::string& value);
};

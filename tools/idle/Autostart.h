// The user's XDG autostart entry for gardenlume-idle
// (~/.config/autostart/gardenlume-idle.desktop), which KDE Plasma and GNOME
// start with the session: written by --autostart, removed by
// --no-autostart. Each prints one line and returns the exit code.
#pragma once
#include <string>

class Autostart {
public:
    static int enable(const std::string& program, const std::string& arguments);
    static int disable();

    // The entry's text: Exec runs `program` (quoted as the desktop entry
    // format wants) with `arguments`.
    static std::string entry(const std::string& program, const std::string& arguments);
};

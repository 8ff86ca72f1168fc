#include "tools/idle/Autostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Atomic_file.h"

namespace {

// $XDG_CONFIG_HOME, else ~/.config; empty when neither can be named.
std::string config_folder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return std::string();
    return std::string(home) + "/.config";
}

bool make_folder(const std::string& path, mode_t mode)
{
    return mkdir(path.c_str(), mode) == 0 || errno == EEXIST;
}

int fail(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "gardenlume-idle: %s %s\n", path.c_str(), why.c_str());
    return 1;
}

// A desktop entry's Exec quotes an argument with blanks or reserved
// characters in double quotes, with ", `, $ and \ escaped.
std::string quoted(const std::string& argument)
{
    if (argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos) return argument;
    std::string q = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') q += "\\\\";
        q += c;
    }
    return q + "\"";
}

}  // namespace

std::string Autostart::entry(const std::string& program, const std::string& arguments)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Gardenlume when idle\n"
           "Comment=Shows the Gardenlume garden when the desktop has been idle\n"
           "Exec=" + quoted(program) + (arguments.empty() ? "" : " " + arguments) + "\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

int Autostart::enable(const std::string& program, const std::string& arguments)
{
    const std::string config = config_folder();
    if (config.empty()) return fail("~/.config/autostart", "cannot be found: HOME is not set");
    const std::string folder = config + "/autostart";
    if (!make_folder(config, 0700) || !make_folder(folder, 0755))
        return fail(folder, std::string("could not be made: ") + std::strerror(errno));
    const std::string path = folder + "/gardenlume-idle.desktop";
    const std::string text = entry(program, arguments);
    unsigned mode = 0;
    const Atomic_file::Target there = Atomic_file::inspect(path, mode);
    if (there == Atomic_file::Target::link || there == Atomic_file::Target::other)
        return fail(path, "is not a regular file; not replaced");
    const std::string temp = path + ".XXXXXX";
    const Write_status written = there == Atomic_file::Target::missing
                                     ? Atomic_file::create_owned(path, temp, text.data(), text.size(), 0644)
                                     : Atomic_file::replace(path, temp, text.data(), text.size(), mode);
    if (!written.ok()) return fail(path, "not written: " + written.text());
    std::printf("gardenlume-idle: wrote %s; the desktop starts the garden when idle from the next login\n",
                path.c_str());
    return 0;
}

int Autostart::disable()
{
    const std::string config = config_folder();
    if (config.empty()) return fail("~/.config/autostart", "cannot be found: HOME is not set");
    const std::string path = config + "/autostart/gardenlume-idle.desktop";
    if (unlink(path.c_str()) != 0) {
        if (errno != ENOENT) return fail(path, std::string("could not be removed: ") + std::strerror(errno));
        std::printf("gardenlume-idle: %s is not there; nothing to remove\n", path.c_str());
        return 0;
    }
    std::printf("gardenlume-idle: removed %s; the desktop no longer starts it with the session\n", path.c_str());
    return 0;
}

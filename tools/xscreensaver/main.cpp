// gardenlume-xscreensaver: puts the garden into the user's XScreenSaver list
// (~/.xscreensaver, which xsecurelock reads too) and, with --select, makes
// it the one hack shown. One line says what it did or what was wrong; exit
// codes are 0 done, 1 the file was not changed, 2 usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/Whole_file.h"
#include "platform/Atomic_file.h"
#include "platform/Posix_replace.h"
#include "tools/xscreensaver/App_defaults.h"
#include "tools/xscreensaver/Hack_list_edit.h"

namespace {

const char* const usage = "usage: gardenlume-xscreensaver [--select]\n";
// xscreensaver-settings writes some 10 KiB; anything this big is no list of ours to edit.
const size_t max_file_size = 1 << 20;

int fail(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "gardenlume-xscreensaver: %s %s\n", path.c_str(), why.c_str());
    return 1;
}

// The file the daemon reads: $HOME/.xscreensaver, whoever's home that is.
bool file_path(std::string& path)
{
    const char* home = std::getenv("HOME");
    if (!home || !*home) return false;
    path = home;
    if (path.back() != '/') path += '/';
    path += ".xscreensaver";
    return true;
}

// Why bytes the daemon would misread are left alone, or empty.
std::string unreadable_for_the_daemon(const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes) {
        // Its lines would run on into each other: a backslash before "\r\n" continues nothing.
        if (b == '\r') return "has CR LF line ends, which XScreenSaver does not read as line ends; not changed";
        if (b == 0) return "holds a NUL byte, so it is no XScreenSaver settings file; not changed";
    }
    return std::string();
}

std::string what_was_done(const Hack_list_edit::Result& r, const std::string& path, bool select)
{
    const std::string entry = "entry " + std::to_string(r.index) + (r.disabled ? ", disabled by its \"-\"" : "");
    const std::string shown = "the one shown (mode: one, selected: " + std::to_string(r.index) + ")";
    if (r.added)
        return "added the garden to the list in " + path + " (" + entry + ")" + (select ? " and made it " + shown : "");
    if (r.selected) return "the garden was in the list in " + path + " already (" + entry + "); made it " + shown;
    return "the garden is in the list in " + path + " already (" + entry + ")" + (select ? ", " + shown : "") +
           "; nothing changed";
}

// No file yet: the one the settings program would write, the system's list
// and the garden, made the user's (the owner of the home folder) and
// readable by them alone, as the settings program makes it.
int create(const std::string& path, bool select)
{
    const std::string system = App_defaults::path();
    const std::string advice = "; nothing created: open xscreensaver-settings, change any setting (it writes the file "
                               "only then), then run this again";
    std::vector<uint8_t> bytes;
    const Read_reason read = Whole_file::read(system, bytes, max_file_size);
    if (read != Read_reason::ok)
        return fail(path, "does not exist, and XScreenSaver's list of hacks in " + system + " " + text(read) + advice);
    std::string programs;
    if (!App_defaults::programs(std::string(bytes.begin(), bytes.end()), programs))
        return fail(path, "does not exist, and " + system + " holds no list of hacks (programs)" + advice);
    const Hack_list_edit::Result result = Hack_list_edit::new_file(programs, select);
    if (result.unfollowable)
        return fail(path, "does not exist, and the list of hacks in " + system +
                              " cannot be written so that XScreenSaver reads it back" + advice);
    const Write_status written = Atomic_file::create_owned(path, path + ".gardenlume-XXXXXX", result.text.data(),
                                                           result.text.size(), 0600);
    if (!written.ok()) return fail(path, "not created: " + written.text());
    const std::string entry = "entry " + std::to_string(result.index);
    const std::string shown =
        select ? ", the one shown (mode: one, selected: " + std::to_string(result.index) + ")" : "";
    std::printf("gardenlume-xscreensaver: wrote %s with XScreenSaver's list of hacks from %s and the garden (%s)%s\n",
                path.c_str(), system.c_str(), entry.c_str(), shown.c_str());
    return 0;
}

int edit(const std::string& path, bool select)
{
    unsigned mode = 0;
    switch (Atomic_file::inspect(path, mode)) {
    case Atomic_file::Target::missing:
        return create(path, select);
    case Atomic_file::Target::link:
        return fail(path, "is a symbolic link, not replaced: run this on the file it points to");
    case Atomic_file::Target::other:
        return fail(path, "is not a regular file, not replaced");
    case Atomic_file::Target::regular:
        break;
    }
    std::vector<uint8_t> bytes;
    Posix_replace::test_stop();
    const Read_reason read = Whole_file::read(path, bytes, max_file_size);
    if (read == Read_reason::too_large) return fail(path, "is larger than 1 MiB, not read");
    if (read != Read_reason::ok) return fail(path, text(read));
    const std::string refusal = unreadable_for_the_daemon(bytes);
    if (!refusal.empty()) return fail(path, refusal);

    const Hack_list_edit::Result result = Hack_list_edit::add_garden(std::string(bytes.begin(), bytes.end()), select);
    if (result.misread)
        return fail(path, "is read by XScreenSaver otherwise than it looks (a line longer than 1,020 bytes, or a "
                          "last line ending in a backslash and one more byte); not changed: break that line, or end "
                          "the file with a newline, by hand, then run this again");
    if (result.unfollowable)
        return fail(path, "has backslashes escaping across line ends where the garden's line would go; not changed: "
                          "add the line by hand");
    if (result.changed) {
        Posix_replace::test_stop();
        const Write_status written = Atomic_file::replace(path, path + ".gardenlume-XXXXXX", result.text.data(),
                                                          result.text.size(), mode);
        if (!written.ok()) return fail(path, "not changed: " + written.text());
    }
    std::printf("gardenlume-xscreensaver: %s\n", what_was_done(result, path, select).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool select = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--select") == 0) {
            select = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "gardenlume-xscreensaver: unknown argument: %s\n%s", argv[i], usage);
            return 2;
        }
    }
    std::string path;
    if (!file_path(path)) {
        std::fprintf(stderr, "gardenlume-xscreensaver: HOME is not set, so there is no ~/.xscreensaver to change\n");
        return 1;
    }
    return edit(path, select);
}

// gardenlume-xscreensaver: puts the garden into the user's XScreenSaver list
// (~/.xscreensaver, which xsecurelock reads too) and, with --select, makes
// it the one hack shown; --remove takes it out again. One line says what it
// did or what was wrong; exit codes are 0 done, 1 the file was not changed,
// 2 usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/Whole_file.h"
#include "platform/Atomic_file.h"
#include "platform/Atomic_file_edit.h"
#include "tools/xscreensaver/App_defaults.h"
#include "tools/xscreensaver/Hack_list_edit.h"
#include "tools/xscreensaver/Home_owner.h"

namespace {

const char* const usage = "usage: gardenlume-xscreensaver [--select | --remove]\n";
// xscreensaver-settings writes some 10 KiB; anything this big is no list of ours to edit.
const size_t max_file_size = 1 << 20;

enum class Action { add, select, remove };

int fail(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "gardenlume-xscreensaver: %s %s\n", path.c_str(), why.c_str());
    return 1;
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

std::string what_was_done(const Hack_list_edit::Result& r, const std::string& path, Action action)
{
    const std::string entry = "entry " + std::to_string(r.index) + (r.disabled ? ", disabled by its \"-\"" : "");
    if (action == Action::remove) {
        if (!r.removed) return "the garden is not in the list in " + path + "; nothing changed";
        return "took the garden (" + entry + ") out of the list in " + path +
               (r.selected ? "; it was the one shown, so the mode is random again (mode: random)" : "");
    }
    const bool select = action == Action::select;
    const std::string shown = "the one shown (mode: one, selected: " + std::to_string(r.index) + ")";
    if (r.added)
        return "added the garden to the list in " + path + " (" + entry + ")" + (select ? " and made it " + shown : "");
    if (r.selected) return "the garden was in the list in " + path + " already (" + entry + "); made it " + shown;
    return "the garden is in the list in " + path + " already (" + entry + ")" + (select ? ", " + shown : "") +
           "; nothing changed";
}

// No file yet: the one the settings program would write, the system's list
// and the garden, readable by the user alone, as the settings program
// makes it.
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

// The file read whole through one descriptor (`shown` names it in the
// messages), edited, and put back only if nothing changed it meanwhile.
int edit_opened(Atomic_file_edit& file, Atomic_file_edit::Opened opened, const std::string& shown,
                const std::string& path, Action action)
{
    switch (opened) {
    case Atomic_file_edit::Opened::ok:
        break;
    case Atomic_file_edit::Opened::too_large:
        return fail(shown, "is larger than 1 MiB, not read");
    case Atomic_file_edit::Opened::changed:
        return fail(shown, "changed while being read; run it again");
    case Atomic_file_edit::Opened::unreadable:
        return fail(shown, std::string("cannot be read (") + std::strerror(file.error()) + "); not changed");
    default:
        return fail(shown, "is not a regular file, not replaced");
    }
    const std::string refusal = unreadable_for_the_daemon(file.bytes());
    if (!refusal.empty()) return fail(shown, refusal);

    const std::string text(file.bytes().begin(), file.bytes().end());
    const Hack_list_edit::Result result = action == Action::remove
                                              ? Hack_list_edit::remove_garden(text)
                                              : Hack_list_edit::add_garden(text, action == Action::select);
    if (result.misread)
        return fail(shown, "is read by XScreenSaver otherwise than it looks (a line longer than 1,020 bytes, or a "
                           "last line ending in a backslash and one more byte); not changed: break that line, or end "
                           "the file with a newline, by hand, then run this again");
    if (result.unfollowable)
        return fail(shown, "has backslashes escaping across line ends where the garden's line " +
                               std::string(action == Action::remove ? "is; not changed: take the line out by hand"
                                                                    : "would go; not changed: add the line by hand"));
    if (result.changed) {
        const Write_status written = file.replace(path + ".gardenlume-XXXXXX", result.text.data(), result.text.size());
        if (!written.ok()) return fail(shown, "not changed: " + written.text());
    }
    std::printf("gardenlume-xscreensaver: %s\n", what_was_done(result, shown, action).c_str());
    return 0;
}

// A dotfile manager's link (stow, chezmoi, yadm): the file it leads to is
// edited, the link kept, when that is a regular file of the user's own.
int edit_link(const std::string& path, Action action)
{
    std::string target, why;
    if (!Home_owner::follow(path, target, why)) return fail(path, why);
    Atomic_file_edit file;
    const Atomic_file_edit::Opened opened = file.open(target, max_file_size);
    if (opened == Atomic_file_edit::Opened::link || opened == Atomic_file_edit::Opened::missing)
        return fail(path, "changed while being read; run it again");
    const unsigned owner = file.status().st_uid;
    if (opened == Atomic_file_edit::Opened::ok && owner != geteuid()) {
        const std::string other = Home_owner::name(owner);
        const std::string self = Home_owner::name(geteuid());
        return fail(path, "is a symbolic link to " + target + ", which belongs to " + other + ", not to " + self +
                              " who runs this; not changed: put a copy of your own in the link's place (cp "
                              "--remove-destination " + target + " " + path + "), or have " + other +
                              " give you the file (chown " + self + " " + target + ")");
    }
    return edit_opened(file, opened, path + " (a link to " + target + ")", target, action);
}

int edit(const std::string& path, Action action)
{
    Atomic_file_edit file;
    const Atomic_file_edit::Opened opened = file.open(path, max_file_size);
    if (opened == Atomic_file_edit::Opened::missing) {
        if (action != Action::remove) return create(path, action == Action::select);
        std::printf("gardenlume-xscreensaver: there is no %s, so no list of yours holds the garden; nothing changed\n",
                    path.c_str());
        return 0;
    }
    if (opened == Atomic_file_edit::Opened::link) return edit_link(path, action);
    return edit_opened(file, opened, path, path, action);
}

}  // namespace

int main(int argc, char** argv)
{
    Action action = Action::add;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--select" || arg == "--remove") && action == Action::add) {
            action = arg == "--select" ? Action::select : Action::remove;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        } else {
            const bool twice = arg == "--select" || arg == "--remove";
            std::fprintf(stderr, "gardenlume-xscreensaver: %s: %s\n%s",
                         twice ? "one of --select and --remove, once" : "unknown argument", argv[i], usage);
            return 2;
        }
    }
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        std::fprintf(stderr, "gardenlume-xscreensaver: HOME is not set, so there is no ~/.xscreensaver to change\n");
        return 1;
    }
    // The file the daemon reads: $HOME/.xscreensaver, whoever's home that
    // is, changed as its owner.
    std::string why;
    if (!Home_owner::become(home, why)) {
        std::fprintf(stderr, "gardenlume-xscreensaver: %s cannot be worked on as its owner (%s); nothing changed\n",
                     home, why.c_str());
        return 1;
    }
    std::string path = home;
    if (path.back() != '/') path += '/';
    return edit(path + ".xscreensaver", action);
}

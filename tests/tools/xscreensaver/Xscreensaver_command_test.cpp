// gardenlume-xscreensaver run from outside on a home of its own: what it
// refuses leaves the home as it was; what it changes it replaces whole,
// keeping the file's rights. (The package test runs it twice on the
// daemon's own list.)
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/Saver_process.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_files.h"

namespace fs = std::filesystem;

namespace {

const std::string list = "mode:\t\trandom\nprograms:\t\\\n\t\tmaze --root \\n\\\n\n";

struct Outcome {
    int code;
    std::string out, err;
};

Outcome command(const Temp_folder& home, const std::vector<std::string>& args,
                const std::string& app_defaults = "/etc/X11/app-defaults/XScreenSaver")
{
    Saver_process p;
    if (!p.start(GARDENLUME_BIN_DIR "/gardenlume-xscreensaver", args,
                 {{"HOME", home.path}, {"GARDENLUME_XSCREENSAVER_APP_DEFAULTS", app_defaults}}) ||
        !p.wait(20000))
        return {-1, "", "did not run"};
    return {p.exit_code(), p.stdout_text(), p.stderr_text()};
}

void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

size_t lines(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

// Every name in the home with what it is and holds.
std::vector<std::string> snapshot(const Temp_folder& home)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(home.path))
        names.push_back(e.path().string() + (e.is_symlink() ? " link: " : e.is_directory() ? " folder" : ": ") +
                        (e.is_regular_file() ? Test_files::text(e.path()) : ""));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(Xscreensaver_command, refusals_name_the_file_and_leave_the_home_as_it_was)
{
    const struct {
        const char* name;
        std::function<void(const Temp_folder&)> make;
        std::vector<std::string> args;
        int code;
        const char* says;
        std::string app_defaults = "/etc/X11/app-defaults/XScreenSaver";
    } table[] = {
        {"missing, and no system list to write: true advice", [](const Temp_folder&) {}, {}, 1,
         "nothing created: open xscreensaver-settings, change any setting", "/nonexistent/XScreenSaver"},
        {"a hard link is not split from its other name",
         [](const Temp_folder& h) {
             write(h / "other", list);
             fs::create_hard_link(h / "other", h / ".xscreensaver");
         },
         {}, 1, "2 names (hard links)"},
        // A link is followed only to a regular file of the user's own, and
        // each refusal says what can be done instead.
        {"a link to another user's file",
         [](const Temp_folder& h) {
             write(h / "theirs", list);
             if (geteuid() == 0) chown((h / "theirs").c_str(), 65534, 65534);
             fs::create_symlink(h / "theirs", h / ".xscreensaver");
         },
         {}, 1, "put a copy of your own in the link's place (cp --remove-destination "},
        {"a link to nothing", [](const Temp_folder& h) { fs::create_symlink(h / "gone", h / ".xscreensaver"); },
         {"--select"}, 1,
         "which does not exist; nothing written: point it at a settings file of your own, or remove it (rm "},
        {"a link to a folder", [](const Temp_folder& h) { fs::create_directory_symlink("/tmp", h / ".xscreensaver"); },
         {}, 1, "which is not a regular file; not changed: point it at"},
        {"over 1 MiB is not read",
         [](const Temp_folder& h) { write(h / ".xscreensaver", list + std::string(1 << 20, '#')); }, {"--select"}, 1,
         "larger than 1 MiB"},
        {"CR LF line ends",
         [](const Temp_folder& h) { write(h / ".xscreensaver", "mode:\tone\r\nprograms:\ta \\n\r\n"); }, {}, 1,
         "CR LF"},
        {"a line the daemon cuts at its 1 KiB chunk",
         [](const Temp_folder& h) { write(h / ".xscreensaver", "programs: a" + std::string(1009, ' ') + "\\n b\n"); },
         {"--select"}, 1, "is read by XScreenSaver otherwise than it looks"},
        {"an unknown argument", [](const Temp_folder& h) { write(h / ".xscreensaver", list); }, {"--selec"}, 2,
         "usage: gardenlume-xscreensaver [--select | --remove]"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        if (geteuid() != 0 && std::string(row.name) == "a link to another user's file") continue;
        Temp_folder home;
        row.make(home);
        const std::vector<std::string> before = snapshot(home);
        const Outcome run = command(home, row.args, row.app_defaults);
        EXPECT_EQ(run.code, row.code);
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        EXPECT_EQ(lines(run.err), row.code == 2 ? 2u : 1u) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(snapshot(home), before);
    }
}

TEST(Xscreensaver_command, replaces_the_file_whole_keeping_its_rights)
{
    Temp_folder home;
    const std::string path = home / ".xscreensaver";
    write(path, list);
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    struct stat first;
    ASSERT_EQ(stat(path.c_str(), &first), 0);

    const Outcome run = command(home, {"--select"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "gardenlume-xscreensaver: added the garden to the list in " + path +
                           " (entry 1) and made it the one shown (mode: one, selected: 1)\n");
    struct stat written;
    ASSERT_EQ(stat(path.c_str(), &written), 0);
    EXPECT_EQ(written.st_mode & 0777, 0600u);
    EXPECT_NE(written.st_ino, first.st_ino);  // a new file renamed over the old
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path), fs::directory_iterator()), 1);
    EXPECT_NE(Test_files::text(path).find("mode:\t\tone\n"), std::string::npos);
}

// A dotfile manager's link (stow, chezmoi, yadm): the file it points to is
// edited in its own folder and the link stays, for the user and for root
// with the user's HOME alike.
TEST(Xscreensaver_command, a_link_to_a_file_of_the_users_own_is_followed_and_kept)
{
    for (const bool for_a_user : {false, true}) {
        if (for_a_user && geteuid() != 0) continue;
        SCOPED_TRACE(for_a_user ? "root with a user's HOME" : "the user");
        const uid_t user = for_a_user ? 65534 : geteuid();
        Temp_folder home;
        fs::create_directories(home / "dotfiles/xscreensaver");
        const std::string real = home / "dotfiles/xscreensaver/.xscreensaver";
        write(real, list);
        fs::create_symlink("dotfiles/xscreensaver/.xscreensaver", home / ".xscreensaver");
        for (const std::string& p : {home.path, home / "dotfiles", home / "dotfiles/xscreensaver", real})
            ASSERT_EQ(chown(p.c_str(), user, user), 0);
        ASSERT_EQ(lchown((home / ".xscreensaver").c_str(), user, user), 0);

        const Outcome run = command(home, {"--select"});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find("(a link to " + real + ")"), std::string::npos) << run.out;
        EXPECT_EQ(fs::read_symlink(home / ".xscreensaver"), "dotfiles/xscreensaver/.xscreensaver");
        EXPECT_NE(Test_files::text(real).find("gardenlume --root"), std::string::npos);
        struct stat st;
        ASSERT_EQ(stat(real.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, user);
        EXPECT_EQ(std::distance(fs::directory_iterator(home / "dotfiles/xscreensaver"), fs::directory_iterator()), 1);
    }
}

// Run as root with a user's HOME (su without "-", sudo -E): the file stays
// the user's, or is made theirs, so that the daemon running as the user can
// read it (else it falls back to the system's defaults, lock off).
TEST(Xscreensaver_command, run_as_root_the_file_stays_or_becomes_the_homes_owner)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give files to another user";
    const uid_t user = 65534;
    const struct {
        const char* name;
        bool existing;
        unsigned mode;
        gid_t home_group;
    } table[] = {{"replaced", true, 0640, user},
                 {"created", false, 0600, user},
                 {"created in a home of the user's in root's group: the user's own group", false, 0600, 0}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        Temp_folder home;
        const std::string path = home / ".xscreensaver";
        ASSERT_EQ(chown(home.path.c_str(), user, row.home_group), 0);
        if (row.existing) {
            write(path, list);
            ASSERT_EQ(chown(path.c_str(), user, user), 0);
            ASSERT_EQ(chmod(path.c_str(), row.mode), 0);
        }
        const Outcome run = command(home, {"--select"});
        ASSERT_EQ(run.code, 0) << run.err;
        struct stat st;
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, user);
        EXPECT_EQ(st.st_gid, user);
        EXPECT_EQ(st.st_mode & 07777, row.mode);
        EXPECT_NE(Test_files::text(path).find("mode:\t\tone\n"), std::string::npos);
    }
}

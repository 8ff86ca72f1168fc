// config.exe run from outside: the exact bytes it writes, what it keeps,
// and that bad arguments or an unwritable folder leave "cfg" alone.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"

namespace fs = std::filesystem;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s.push_back(char(v));
    return s;
}

class Config_exe : public ::testing::Test {
protected:
    // Runs config.exe on the install folder; returns its exit code.
    int run(const std::vector<std::string>& args)
    {
        Saver_process p;
        EXPECT_TRUE(p.start(Saver_process::config_path(), args, install.environment()));
        EXPECT_TRUE(p.wait(20000));
        out = p.stdout_text();
        err = p.stderr_text();
        return p.exit_code();
    }

    Install_folder install;
    std::string out, err;
};

const std::string example_21 = bytes({1, 0, 0, 0, 1, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
const std::string defaults_21 = bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});

}  // namespace

TEST_F(Config_exe, writes_the_exact_21_byte_record)
{
    ASSERT_EQ(run({"--mode", "3", "--mouse-exit", "on"}), 0) << err;
    EXPECT_EQ(install.read_file("cfg"), example_21);
}

TEST_F(Config_exe, mode_given_as_size_and_depth_picks_its_row)
{
    ASSERT_EQ(run({"--mode", "800x600@32", "--mouse-exit", "on"}), 0) << err;
    EXPECT_EQ(install.read_file("cfg"), example_21);
    ASSERT_EQ(run({"--mode", "1600x1200@16"}), 0) << err;
    EXPECT_EQ(install.read_file("cfg")[9], char(16));
}

TEST_F(Config_exe, keeps_spare_value_and_both_texts_of_the_file)
{
    const std::string before = bytes({1, 0, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 5, 0, 0, 0}) +
                               bytes({2, 0, 0, 0}) + "t2" + bytes({3, 0, 0, 0}) + "tx1";
    ASSERT_TRUE(install.write_file("cfg", before));
    ASSERT_EQ(run({"--mouse-exit", "on"}), 0) << err;
    std::string after = before;
    after[4] = 1;
    EXPECT_EQ(install.read_file("cfg"), after);
}

TEST_F(Config_exe, changes_only_what_it_is_asked_to)
{
    ASSERT_EQ(run({"--mode", "3", "--mouse-exit", "on"}), 0);
    ASSERT_EQ(run({"--mode", "0"}), 0);
    const std::string cfg = install.read_file("cfg");
    ASSERT_EQ(cfg.size(), 21u);
    EXPECT_EQ(cfg[4], 1);  // mouse rule kept
    EXPECT_EQ(cfg[9], 0);
}

TEST_F(Config_exe, prints_the_settings_and_where_they_come_from)
{
    ASSERT_EQ(run({}), 0);
    EXPECT_NE(out.find("defaults (no file)"), std::string::npos) << out;
    EXPECT_NE(out.find("screen mode: 5 (1024x768 at 32 bpp)"), std::string::npos) << out;
    EXPECT_NE(out.find("mouse exit: off"), std::string::npos) << out;
    EXPECT_FALSE(install.exists("cfg"));  // looking writes nothing

    ASSERT_TRUE(install.write_file("cfg", example_21));
    ASSERT_EQ(run({}), 0);
    EXPECT_NE(out.find("read from the file"), std::string::npos) << out;
    EXPECT_NE(out.find("screen mode: 3 (800x600 at 32 bpp)"), std::string::npos) << out;
    EXPECT_NE(out.find("mouse exit: on"), std::string::npos) << out;
}

TEST_F(Config_exe, refuses_to_rewrite_a_file_it_does_not_understand_unless_reset)
{
    const std::string cases[][2] = {
        {bytes({2}) + example_21.substr(1), "has format number 2, not 1"},
        {example_21.substr(0, 2), "is cut short: 2 bytes, too few for its format number"},
        {example_21.substr(0, 20), "is cut short: it ends after 20 bytes, before its last field"},
    };
    const std::vector<std::string> changes[] = {{"--mode", "3"}, {"--mouse-exit", "on"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(install.write_file("cfg", c[0]));
        for (const std::vector<std::string>& change : changes) {
            EXPECT_EQ(run(change), 1) << c[1];
            EXPECT_NE(err.find(c[1] + "; left as it is (--reset"), std::string::npos) << err;
            EXPECT_EQ(install.read_file("cfg"), c[0]);
        }
        // --reset replaces it: alone with the defaults, or with the changes given.
        const std::pair<std::vector<std::string>, std::string> resets[] = {
            {{"--reset"}, defaults_21}, {{"--reset", "--mode", "3", "--mouse-exit", "on"}, example_21}};
        for (const auto& [reset, written] : resets) {
            ASSERT_TRUE(install.write_file("cfg", c[0]));
            ASSERT_EQ(run(reset), 0) << err;
            EXPECT_EQ(install.read_file("cfg"), written) << reset.size();
        }
    }
}

TEST_F(Config_exe, removes_the_temporary_files_of_dead_runs_only)
{
    const pid_t child = fork();  // its pid, once reaped, is surely nobody's
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);
    const std::string dead = "cfg.tmp-" + std::to_string(child), alive = "cfg.tmp-" + std::to_string(getpid());
    // Name, made an hour ago, removed. A young one may be another machine's.
    const std::tuple<std::string, bool, bool> files[] = {
        {dead + "-a1B2c3", true, true},     {dead + "-d4E5f6", false, false}, {alive + "-a1B2c3", true, false},
        {dead + "-toolong", true, false}, {"cfg.tmp-notes", true, false},    {"cfg.a1B2c3", true, false},
    };
    for (const auto& [name, old, removed] : files) {
        ASSERT_TRUE(install.write_file(name, "x"));
        if (old) fs::last_write_time(install.path() + name, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    ASSERT_EQ(run({"--mode", "2"}), 0) << err;
    for (const auto& [name, old, removed] : files) EXPECT_EQ(install.exists(name), !removed) << name;
}

// A cfg that is not ours is described as what it is, when shown and when a
// change is refused; an empty content row stands for a folder.
TEST_F(Config_exe, reports_a_file_that_is_not_ours_as_what_it_is_and_leaves_it)
{
    std::string other = example_21;
    other[0] = 2;
    const std::string rows[][2] = {
        {other, "has format number 2, not 1"},
        {"mode = desktop\n", "is a text file, not a settings file"},
        {"", "is a folder, not a settings file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[1]);
        fs::remove_all(install.path() + "cfg");
        if (row[0].empty())
            fs::create_directory(install.path() + "cfg");
        else
            ASSERT_TRUE(install.write_file("cfg", row[0]));
        ASSERT_EQ(run({}), 0);
        EXPECT_NE(out.find("source: defaults (the file " + row[1] + ")"), std::string::npos) << out;
        EXPECT_EQ(run({"--mode", "3"}), 1);
        EXPECT_NE(err.find("cfg: " + row[1] + "; left as it is"), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_TRUE(fs::is_directory(install.path() + "cfg"));
}

TEST_F(Config_exe, lists_the_18_fixed_modes_and_the_desktop)
{
    ASSERT_EQ(run({"--list-modes"}), 0);
    int lines = 0;
    for (char c : out) lines += c == '\n';
    EXPECT_EQ(lines, 19);
    EXPECT_NE(out.find(" 5  1024x768@32  (default)"), std::string::npos) << out;
    EXPECT_NE(out.find("17  1600x1200@32"), std::string::npos) << out;
    EXPECT_NE(out.find("18  desktop@32  (every monitor at its own size"), std::string::npos) << out;
}

TEST_F(Config_exe, desktop_and_18_both_choose_the_desktop_mode)
{
    const std::string desktop = bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 18, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (const char* name : {"desktop", "18"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(run({"--reset", "--mode", name}), 0) << err;
        EXPECT_EQ(install.read_file("cfg"), desktop);
        ASSERT_EQ(run({}), 0);
        EXPECT_NE(out.find("screen mode: 18 (the desktop: every monitor at its own size at 32 bpp"), std::string::npos)
            << out;
    }
}

TEST_F(Config_exe, bad_arguments_exit_2_with_one_line_and_leave_the_file)
{
    ASSERT_TRUE(install.write_file("cfg", example_21));
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},          {"--mode", "19"},        {"--mode", "-1"},
        {"--mode", "640x480@24"}, {"--mode"},          {"--mouse-exit", "yes"},
        {"--mode", "3x"},     {"--mode", "99999999999"}, {"--list-modes", "--mode", "1"},
        {"--mode", "0x0@32"}, {"--mode", "Desktop"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.size() > 1 ? args[0] + " " + args[1] : args[0]);
        EXPECT_EQ(run(args), 2);
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(install.read_file("cfg"), example_21);
    }
    // Today's monitor sizes are no fixed row: the words point to the one
    // that fits any monitor.
    EXPECT_EQ(run({"--mode", "1920x1080@32"}), 2);
    EXPECT_NE(err.find("use --mode desktop"), std::string::npos) << err;
}

TEST_F(Config_exe, folder_it_cannot_write_exits_1_and_leaves_no_file)
{
    install.write_registry(install.path() + "missing/");
    EXPECT_EQ(run({"--mode", "1"}), 1);
    EXPECT_NE(err.find("missing/cfg"), std::string::npos) << err;
    EXPECT_FALSE(install.exists("missing"));
}

TEST_F(Config_exe, a_folder_of_an_administrators_exits_1_names_sudo_and_leaves_cfg_byte_for_byte)
{
    // The folder and its files are root's (or, run by a user, read-only to
    // them); config.exe runs as a standard user: nobody.
    ASSERT_TRUE(install.write_file("cfg", example_21));
    const bool root = geteuid() == 0;
    ASSERT_EQ(chmod(install.path().c_str(), root ? 0755 : 0555), 0);
    ASSERT_EQ(chmod(install.registry_file().c_str(), 0644), 0);
    Saver_process p;
    const std::vector<std::string> change = {"--mode", "7"};
    std::vector<std::string> args = {"--reuid=65534", "--regid=65534", "--clear-groups", Saver_process::config_path()};
    args.insert(args.end(), change.begin(), change.end());
    ASSERT_TRUE(root ? p.start("/usr/bin/setpriv", args, install.environment())
                     : p.start(Saver_process::config_path(), change, install.environment()));
    ASSERT_TRUE(p.wait(20000));
    chmod(install.path().c_str(), 0755);
    EXPECT_EQ(p.exit_code(), 1) << p.stderr_text();
    EXPECT_NE(p.stderr_text().find("cfg: may not be changed by this user: Permission denied; the settings are for "
                                   "all users: run config.exe with sudo to change them\n"),
              std::string::npos)
        << p.stderr_text();
    EXPECT_EQ(install.read_file("cfg"), example_21);
}

// The Debian package's "cfg" is a link to /etc/gardenlume/cfg: a link of
// root's or the caller's stays, and the file it leads to is written; one
// that another user made is refused (run as root), its file untouched.
TEST_F(Config_exe, writes_through_a_link_of_its_own_users_and_refuses_anothers)
{
    fs::create_directory(install.path() + "etc");
    ASSERT_TRUE(install.write_file("etc/cfg", example_21));
    ASSERT_EQ(symlink("etc/cfg", (install.path() + "cfg").c_str()), 0);
    struct Row {
        uid_t link_owner;
        const char* mode;
        int exit_code;
        char mode_after;
        std::string words;
    };
    const Row rows[] = {
        {geteuid(), "2", 0, 2, "settings file: " + install.path() + "cfg (a link to " + install.path() + "etc/cfg)\n"},
        {65534, "4", 1, 2, "cfg: is a symbolic link, not replaced: the link is another user's (uid 65534)\n"},
    };
    for (const Row& row : rows) {
        if (row.link_owner != geteuid() && geteuid() != 0) continue;  // only root gives a link away
        SCOPED_TRACE(row.link_owner);
        ASSERT_EQ(lchown((install.path() + "cfg").c_str(), row.link_owner, row.link_owner), 0);
        EXPECT_EQ(run({"--mode", row.mode}), row.exit_code);
        EXPECT_EQ(install.read_file("etc/cfg")[9], row.mode_after);
        EXPECT_TRUE(fs::is_symlink(install.path() + "cfg"));
        EXPECT_NE((out + err).find(row.words), std::string::npos) << out << err;
    }
}

TEST_F(Config_exe, writes_leave_no_temporary_files_behind)
{
    ASSERT_EQ(run({"--mode", "2"}), 0);
    ASSERT_EQ(run({"--mode", "4"}), 0);
    Saver_process ls;
    ASSERT_TRUE(ls.start("/bin/ls", {"-A", install.path()}));
    ASSERT_TRUE(ls.wait(10000));
    EXPECT_EQ(ls.stdout_text(), "cfg\n");
}

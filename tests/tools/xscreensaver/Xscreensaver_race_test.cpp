// gardenlume-xscreensaver raced from outside, deterministically: the
// command stops itself at its stop points (GARDENLUME_TEST_STOPS), after it
// has opened the file and just before its rename, and the test does there
// what a racing user or an editor does.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/support/Saver_process.h"
#include "tests/support/Temp_folder.h"
#include "tests/support/Test_files.h"

namespace fs = std::filesystem;

namespace {

const std::string list = "mode:\t\trandom\nprograms:\t\\\n\t\tmaze --root \\n\\\n\n";

void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

size_t lines(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

// Whether the run has stopped itself at its next stop point
// (GARDENLUME_TEST_STOPS); false when it ended first.
bool stopped(Saver_process& p)
{
    for (int tries = 0; tries < 2000 && p.running(); ++tries) {
        std::ifstream in("/proc/" + std::to_string(p.pid()) + "/stat");
        std::string pid, name, state;
        in >> pid >> name >> state;
        if (state == "T") return true;
        usleep(10000);
    }
    return false;
}

std::string uid_line(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Uid:", 0) == 0) return line;
    return "";
}

void save_in_place(const std::string& path, const std::string& text, std::ios::openmode mode = std::ios::trunc)
{
    std::ofstream(path, std::ios::binary | std::ios::out | mode) << text;
}

}  // namespace

// A user racing the command run as root (renameat2 exchanges in a loop)
// and an editor saving in place (truncate, then write in pieces) at the
// same moment, made deterministic: the test acts at the command's stop
// points. Nothing of a root-only file may reach the user, and no save is lost.
TEST(Xscreensaver_command, a_file_changed_during_the_run_is_never_leaked_and_never_lost)
{
    const bool root = geteuid() == 0;
    const uid_t user = root ? 65534 : geteuid();
    Temp_folder vault;  // root's alone
    const std::string secret = vault / "shadow";
    write(secret, "root:SECRET-HASH:19000:0:99999:7:::\n");
    ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
    const std::string saved = "mode:\t\tone\nselected:\t0\nprograms:\t\\\n\t\tqix --root \\n\\\n\n";
    const struct {
        const char* name;
        bool needs_root;
        std::function<void(const std::string&)> at_read, at_replace;
        std::string left;  // what the file holds after; empty: anything without the secret
    } table[] = {
        {"the user swaps in a link to a root-only file after the look, and back before the rename", true,
         [&](const std::string& f) {
             fs::create_symlink(secret, f + ".swap");
             renameat2(AT_FDCWD, (f + ".swap").c_str(), AT_FDCWD, f.c_str(), RENAME_EXCHANGE);
         },
         [&](const std::string& f) {
             renameat2(AT_FDCWD, (f + ".swap").c_str(), AT_FDCWD, f.c_str(), RENAME_EXCHANGE);
             fs::remove(f + ".swap");
         },
         ""},
        {"an editor saves in place after the read", false, [](const std::string&) {},
         [&](const std::string& f) { save_in_place(f, saved); }, saved},
        {"an editor's save begun before the read ends after it", false,
         [&](const std::string& f) { save_in_place(f, saved.substr(0, 20)); },
         [&](const std::string& f) { save_in_place(f, saved.substr(20), std::ios::app); }, saved},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        if (row.needs_root && !root) continue;
        Temp_folder home;
        const std::string path = home / ".xscreensaver";
        write(path, list);
        ASSERT_EQ(chown(home.path.c_str(), user, user), 0);
        ASSERT_EQ(chown(path.c_str(), user, user), 0);
        Saver_process p;
        ASSERT_TRUE(p.start(GARDENLUME_BIN_DIR "/gardenlume-xscreensaver", {"--select"},
                            {{"HOME", home.path}, {"GARDENLUME_TEST_STOPS", "1"}}));
        for (const auto* act : {&row.at_read, &row.at_replace}) {
            const bool stop = stopped(p);
            // Run as root for the user's home, the command is the user by now.
            if (stop && act == &row.at_read) {
                EXPECT_EQ(uid_line(p.pid()).rfind("Uid:\t" + std::to_string(user) + "\t", 0), 0u) << uid_line(p.pid());
            }
            (*act)(path);
            if (stop) p.send_signal(SIGCONT);
        }
        ASSERT_TRUE(p.wait(20000));
        for (const auto& e : fs::directory_iterator(home.path))
            EXPECT_EQ(Test_files::text(e.path()).find("SECRET"), std::string::npos) << e.path();
        if (!row.left.empty()) {
            EXPECT_EQ(Test_files::text(path), row.left);
            EXPECT_EQ(p.exit_code(), 1);
            EXPECT_NE(p.stderr_text().find("changed while being read; run it again"), std::string::npos)
                << p.stderr_text();
            EXPECT_EQ(lines(p.stderr_text()), 1u) << p.stderr_text();
        }
    }
}

// The real gardenlume.scr showing the garden from the test packs, driven
// from outside on the test X server: the picture it puts on the screen, its
// end on Escape, its silent end when a pack the scene needs is missing, and
// a short run under valgrind's memcheck. Waits are generous bounds for a
// busy machine, never measurements.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/Install_folder.h"
#include "tests/support/Saver_process.h"
#include "tests/support/Test_packs.h"
#include "tests/support/X_display.h"
#include "tests/support/Test_files.h"

namespace {

const int start_timeout_ms = 30000;
const int end_timeout_ms = 20000;
const char* const valgrind = "/usr/bin/valgrind";

std::string slurp(const std::string& path) { return Test_files::text(path); }

bool is_black(const uint8_t* p) { return p[0] < 8 && p[1] < 8 && p[2] < 8; }

// glibc's loader compares strings a word at a time past their end, which
// memcheck reports while Mesa loads its driver: a known false report.
const char* const loader_suppression =
    "{\n"
    "   glibc_loader_reads_whole_words\n"
    "   Memcheck:Addr8\n"
    "   fun:strncmp\n"
    "   fun:is_dst\n"
    "}\n";

// The memcheck reports about bad memory use that our own code did: one of
// the innermost frames lies in our sources (a library called with a bad
// pointer by us shows our frame right below its own few).
std::string our_invalid_accesses(const std::string& log)
{
    const int frames_checked = 8;
    std::string found;
    std::istringstream in(log);
    std::string line, block;
    bool bad = false, ours = false;
    int frames = 0;
    auto flush = [&]() {
        if (bad && ours) found += block + "\n";
        block.clear();
        bad = ours = false;
        frames = 0;
    };
    while (std::getline(in, line)) {
        // Each report is a run of "==pid== " lines ended by a bare one.
        std::string::size_type end = line.find("== ");
        std::string text = end == std::string::npos ? line : line.substr(end + 3);
        if (text.empty()) {
            flush();
            continue;
        }
        if (block.empty())
            bad = text.rfind("Invalid ", 0) == 0 || text.rfind("Mismatched free", 0) == 0;
        if (text.find(" at 0x") != std::string::npos || text.find(" by 0x") != std::string::npos) {
            // Only the stack of the access itself, not that of the block.
            if (block.find("Address 0x") == std::string::npos && ++frames <= frames_checked &&
                text.find(GARDENLUME_SOURCE_DIR) != std::string::npos)
                ours = true;
        }
        block += text + "\n";
    }
    flush();
    return found;
}

class Garden_saver : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!X_display::available()) GTEST_SKIP() << "no X display to drive";
        ASSERT_TRUE(install.ok());
        ASSERT_TRUE(install.write_packs());
        ASSERT_TRUE(install.write_cfg(0, 5));  // 1024 x 768, the test screen
    }

    void remove_pack(const std::string& name)
    {
        ASSERT_EQ(0, unlink((install.path() + name).c_str())) << name;
    }

    void expect_silent_failure()
    {
        ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
        ASSERT_TRUE(saver.wait(start_timeout_ms)) << "saver did not end";
        EXPECT_TRUE(saver.exited()) << saver.describe();
        EXPECT_EQ(1, saver.exit_code());
        EXPECT_EQ("", saver.stderr_text());
    }

    Install_folder install;
    Saver_process saver;
};

}  // namespace

TEST_F(Garden_saver, garden_fills_the_screen_and_escape_still_ends_it_with_0)
{
    const auto before = X_display::mapped_windows();
    ASSERT_TRUE(saver.start(Saver_process::saver_path(), {"/s"}, install.environment()));
    ASSERT_TRUE(X_display::wait_for_new_window(before, start_timeout_ms))
        << "no window; saver " << saver.describe() << ", stderr: " << saver.stderr_text();
    // Some frames later the background is lit no more and the garden turns.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    X_display::Picture shot = X_display::grab();
    ASSERT_FALSE(shot.empty());

    size_t black = 0, background = 0, other = 0;
    for (int y = 0; y < shot.height; y += 4)
        for (int x = 0; x < shot.width; x += 4) {
            const uint8_t* p = shot.at(x, y);
            if (is_black(p))
                ++black;
            else if (p[0] == 90 && p[1] == 140 && p[2] == 255)
                ++background;  // the unlit "#fon.png" of the test packs
            else
                ++other;
        }
    if (black > background) X_display::save_png(shot, "/tmp/gardenlume_e2e_shot.png");
    EXPECT_LT(black, background) << "black " << black << ", background " << background;
    EXPECT_GT(other, 0u) << "no tree or butterfly in front of the background";

    EXPECT_TRUE(X_display::key("Escape"));
    ASSERT_TRUE(saver.wait(end_timeout_ms)) << "saver did not end";
    EXPECT_EQ(0, saver.exit_code()) << saver.describe();
    EXPECT_EQ("", saver.stderr_text());
}

TEST_F(Garden_saver, missing_main_pack_ends_with_1_and_no_message)
{
    remove_pack(Test_packs::main_pack);
    expect_silent_failure();
}

TEST_F(Garden_saver, missing_butterfly_packs_end_with_1_and_no_message)
{
    for (int n = 1; n <= 5; ++n) remove_pack(Test_packs::butterfly_pack(n));
    expect_silent_failure();
}

TEST_F(Garden_saver, a_few_seconds_under_memcheck_show_no_invalid_access_in_our_code)
{
    if (access(valgrind, X_OK) != 0) GTEST_SKIP() << "no valgrind";
    const std::string log = install.path() + "memcheck.log";
    const std::string suppressions = install.path() + "memcheck.supp";
    ASSERT_TRUE(install.write_file("memcheck.supp", loader_suppression));
    const auto before = X_display::mapped_windows();
    ASSERT_TRUE(saver.start(valgrind,
                            {"--tool=memcheck", "--num-callers=40", "--fullpath-after=", "--log-file=" + log,
                             "--suppressions=" + suppressions,
                             Saver_process::saver_path(), "/s"},
                            install.environment()));
    // Everything runs many times slower under memcheck.
    ASSERT_TRUE(X_display::wait_for_new_window(before, 10 * start_timeout_ms))
        << "no window; " << saver.describe() << "\n" << slurp(log);
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    EXPECT_TRUE(X_display::key("Escape"));
    ASSERT_TRUE(saver.wait(10 * end_timeout_ms)) << "saver did not end";
    EXPECT_EQ(0, saver.exit_code()) << saver.describe();

    const std::string report = slurp(log);
    ASSERT_NE(std::string::npos, report.find("ERROR SUMMARY")) << report;
    EXPECT_EQ("", our_invalid_accesses(report));
}

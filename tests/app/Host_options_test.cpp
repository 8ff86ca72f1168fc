// Where the saver draws and how fast, from its arguments and the daemon's
// XSCREENSAVER_WINDOW, and what is left for the switch.
#include <gtest/gtest.h>

#include "app/Host_options.h"
#include "app/Run_mode.h"

namespace {

using Target = Host_options::Target;
using Args = std::vector<std::string>;

TEST(Host_options, target_window_rate_and_the_arguments_left_for_the_switch)
{
    struct Row {
        Args args;
        const char* env;
        Target target;
        unsigned long window;
        int max_fps;
        Args rest;
        Run_mode mode;
    };
    const Row rows[] = {
        {{"/s"}, nullptr, Target::Full_screen, 0, 30, {"/s"}, Run_mode::Run},
        {{"--root"}, nullptr, Target::Hosted, 0, 30, {}, Run_mode::Run},
        {{"-root"}, "0x1a00007", Target::Hosted, 0x1a00007, 30, {}, Run_mode::Run},
        {{}, "12345", Target::Hosted, 12345, 30, {}, Run_mode::Run},
        // The preview pane's id wins over the daemon's window.
        {{"--window-id", "0x400001", "--root"}, "77", Target::Hosted, 0x400001, 30, {}, Run_mode::Run},
        {{"-window-id", "4194305"}, nullptr, Target::Hosted, 4194305, 30, {}, Run_mode::Run},
        {{"--window", "--max-fps", "0"}, nullptr, Target::Own_window, 0, 0, {}, Run_mode::Run},
        {{"-window", "-max-fps", "60"}, "77", Target::Own_window, 0, 60, {}, Run_mode::Run},
        // Options anywhere: the switch is read from what is left.
        {{"--root", "/p", "1234"}, nullptr, Target::Hosted, 0, 30, {"/p", "1234"}, Run_mode::Preview},
        {{"/c", "--max-fps", "10"}, nullptr, Target::Full_screen, 0, 10, {"/c"}, Run_mode::Configure},
        {{"--max-fps", "5", "-window-id", "0X10"}, nullptr, Target::Hosted, 16, 5, {}, Run_mode::Run},
        // Both ends of the range the usage line names.
        {{"--window", "--max-fps", "1"}, nullptr, Target::Own_window, 0, 1, {}, Run_mode::Run},
        {{"--window", "--max-fps", "1000"}, nullptr, Target::Own_window, 0, 1000, {}, Run_mode::Run},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        const Host_options o = Host_options::read(row.args, row.env);
        EXPECT_EQ("", o.problem);
        EXPECT_EQ(row.target, o.target);
        EXPECT_EQ(row.window, o.window);
        EXPECT_EQ(row.max_fps, o.max_fps);
        EXPECT_EQ(row.rest, o.rest);
        EXPECT_EQ(row.mode, read_run_mode(o.rest));
    }
}

TEST(Host_options, bad_values_are_refused)
{
    struct Row {
        Args args;
        const char* env;
    };
    const Row rows[] = {
        {{"--window-id"}, nullptr},           {{"--window-id", ""}, nullptr},
        {{"--window-id", "0x"}, nullptr},     {{"--window-id", "0"}, nullptr},
        {{"--window-id", "-3"}, nullptr},     {{"--window-id", "+3"}, nullptr},
        {{"--window-id", "12ab"}, nullptr},   {{"--window-id", " 12"}, nullptr},
        {{"--window-id", "0x1ffffffff"}, nullptr}, {{"-window-id", "99999999999999999999999"}, nullptr},
        {{"--max-fps"}, nullptr},             {{"--max-fps", "-1"}, nullptr},
        {{"--max-fps", "30fps"}, nullptr},    {{"--max-fps", "1001"}, nullptr},
        {{}, "window"},                       {{"--root"}, "0x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args) + " env " + (row.env ? row.env : "unset"));
        EXPECT_NE("", Host_options::read(row.args, row.env).problem);
    }
}

}  // namespace

// The run-mode rule on the command lines screensaver hosts use.
#include <gtest/gtest.h>

#include "app/Run_mode.h"
#include "platform/Command_line.h"

namespace {

struct Line_case {
    const char* line;
    Run_mode mode;
};

// The old rule (the sixth character after the first full stop) kept here,
// so the lines it was made for are proven to read the same.
Run_mode sixth_after_first_dot(const std::string& line)
{
    const size_t dot = line.find('.');
    if (dot == std::string::npos || line.size() - dot <= 6) return Run_mode::Run;
    const char c = line[dot + 6];
    if (c == 'p' || c == 'P') return Run_mode::Preview;
    if (c == 'c' || c == 'C') return Run_mode::Configure;
    return Run_mode::Run;
}

}  // namespace

TEST(Run_mode, lines_of_the_classic_form_read_as_they_always_did)
{
    // An unquoted path whose one full stop is that of ".scr", a blank, the switch.
    const Line_case cases[] = {
        {"C:\\dir\\saver.scr /p 1234", Run_mode::Preview},
        {"C:\\dir\\saver.scr /P 1234", Run_mode::Preview},
        {"C:\\dir\\saver.scr /c:1234", Run_mode::Configure},
        {"C:\\dir\\saver.scr /C", Run_mode::Configure},
        {"C:\\dir\\saver.scr /S", Run_mode::Run},
        {"C:\\dir\\saver.scr /s", Run_mode::Run},
        {"C:\\dir\\saver.scr /x", Run_mode::Run},
        {"C:\\dir\\saver.scr -p", Run_mode::Preview},
        {"/opt/gardenlume/gardenlume.scr /p", Run_mode::Preview},
        {"/opt/gardenlume/gardenlume.scr /c", Run_mode::Configure},
#ifndef _WIN32
        // A bare "/" is no switch: on Windows that means the settings.
        {"s.scr /", Run_mode::Run},
#endif
        {"s.scr /p", Run_mode::Preview},
    };
    for (const Line_case& c : cases) {
        EXPECT_EQ(read_run_mode(c.line), c.mode) << c.line;
        EXPECT_EQ(read_run_mode(c.line), sixth_after_first_dot(c.line)) << c.line;
    }
}

TEST(Run_mode, the_switch_is_read_where_the_host_put_it)
{
    const Line_case cases[] = {
        {"./gardenlume.scr /p", Run_mode::Preview},  // the dot of "./"
        {"~/savers/my.saver/gardenlume.scr /s", Run_mode::Run},
        {"\"C:\\dir\\saver.scr\" /p 1234", Run_mode::Preview},
        {"\"C:\\Program Files\\my.dir\\saver.scr\" /c:1234", Run_mode::Configure},
        {"C:\\Users\\first.last\\saver.scr /p", Run_mode::Preview},
        {"C:\\Users\\first.last\\saver.scr /c", Run_mode::Configure},
        {"C:\\dir\\saver.scr   /p", Run_mode::Preview},  // blanks before the switch
        {"C:\\dir\\saver.scr\t-C", Run_mode::Configure},
        {"C:\\dir\\saver.scr -s", Run_mode::Run},
        {"\"unclosed /p", run_mode_without_switch},
    };
    for (const Line_case& c : cases) EXPECT_EQ(read_run_mode(c.line), c.mode) << c.line;
}

TEST(Run_mode, lines_without_a_switch_get_the_systems_choice)
{
    const char* lines[] = {"", "saver", "C:\\dir\\saver.scr", "C:\\dir\\saver.scr p", "saver.scr 1234 /p",
                           "saver.scr /", "saver.scr -"};
    for (const char* line : lines) EXPECT_EQ(read_run_mode(line), run_mode_without_switch) << line;
    EXPECT_EQ(read_run_mode(std::vector<std::string>{}), run_mode_without_switch);
#ifndef _WIN32
    EXPECT_EQ(run_mode_without_switch, Run_mode::Run);
#endif
}

TEST(Command_line, program_path_and_arguments_split_as_hosts_write_them)
{
    EXPECT_EQ(Command_line::after_program("\"C:\\a b\\s.scr\" /p 12"), " /p 12");
    EXPECT_EQ(Command_line::after_program("C:\\a\\s.scr"), "");
    EXPECT_EQ(Command_line::split("  /p   \"a b\"\t12 "), (std::vector<std::string>{"/p", "a b", "12"}));
    EXPECT_TRUE(Command_line::split(" \t").empty());
}

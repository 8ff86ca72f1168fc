// The run-mode rule on the command lines screensaver hosts use.
#include <gtest/gtest.h>

#include "app/Run_mode.h"

TEST(Run_mode, preview_switch_after_unquoted_path_declines)
{
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /p 1234"), Run_mode::Preview);
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /P 1234"), Run_mode::Preview);
}

TEST(Run_mode, configure_switch_with_colon_argument_configures)
{
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /c:1234"), Run_mode::Configure);
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /C"), Run_mode::Configure);
}

TEST(Run_mode, upper_case_s_and_unknown_letters_run)
{
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /S"), Run_mode::Run);
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /s"), Run_mode::Run);
    EXPECT_EQ(read_run_mode("C:\\dir\\saver.scr /x"), Run_mode::Run);
}

TEST(Run_mode, quoted_path_shifts_the_switch_so_any_switch_runs)
{
    EXPECT_EQ(read_run_mode("\"C:\\dir\\saver.scr\" /p 1234"), Run_mode::Run);
    EXPECT_EQ(read_run_mode("\"C:\\dir\\saver.scr\" /c"), Run_mode::Run);
}

TEST(Run_mode, first_full_stop_counts_even_in_a_folder_name)
{
    // Six after the dot of "my.dir" lies inside "saver": Run, whatever the switch.
    EXPECT_EQ(read_run_mode("C:\\my.dir\\saver.scr /p"), Run_mode::Run);
    // Six after the dot of "a.b" is the 'c' of "cfg": Configure.
    EXPECT_EQ(read_run_mode("/opt/a.b/xy/cfg/saver.scr /p"), Run_mode::Configure);
}

TEST(Run_mode, posix_paths_follow_the_same_rule)
{
    EXPECT_EQ(read_run_mode("/opt/gardenlume/gardenlume.scr /p"), Run_mode::Preview);
    EXPECT_EQ(read_run_mode("/opt/gardenlume/gardenlume.scr /c"), Run_mode::Configure);
    EXPECT_EQ(read_run_mode("/opt/gardenlume/gardenlume.scr"), Run_mode::Run);
    EXPECT_EQ(read_run_mode("./gardenlume.scr /p"), Run_mode::Run);  // the dot of "./"
}

TEST(Run_mode, line_without_full_stop_runs)
{
    EXPECT_EQ(read_run_mode(""), Run_mode::Run);
    EXPECT_EQ(read_run_mode("saver /p"), Run_mode::Run);
}

TEST(Run_mode, line_ending_before_the_sixth_character_runs_without_reading_past_it)
{
    // Exactly five characters after the dot: the sixth would be the end.
    EXPECT_EQ(read_run_mode("s.scr /"), Run_mode::Run);
    EXPECT_EQ(read_run_mode("s."), Run_mode::Run);
    EXPECT_EQ(read_run_mode("."), Run_mode::Run);
    // A string with no zero after it: the rule must stop at its size.
    const std::string line("s.scr /p", 7);
    EXPECT_EQ(read_run_mode(line), Run_mode::Run);
    EXPECT_EQ(read_run_mode(std::string("s.scr /p", 8)), Run_mode::Preview);
}

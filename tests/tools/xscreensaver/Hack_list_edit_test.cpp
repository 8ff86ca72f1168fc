// The garden put into ~/.xscreensaver texts as users have them: written by
// xscreensaver-settings 6.06 (the excerpts below are its bytes) or by hand.
#include <gtest/gtest.h>

#include <string>

#include "tools/xscreensaver/App_defaults.h"
#include "tools/xscreensaver/Hack_list_edit.h"

namespace {

// xscreensaver-settings lays "- GL: ... squirtorus --root" out this way;
// the garden's command is as long, so its line lines up the same.
const std::string written_line = "- GL: \t\t\t\tsquirtorus --root\t\t\t    \\n\\\n";
const std::string garden = "  GL: \t\t\t\tgardenlume --root";
const std::string garden_ended = garden + "\t\t\t    \\n";
const std::string garden_middle = garden_ended + "\\\n";

const std::string settings_head = "# XScreenSaver Preferences File\n"
                                  "timeout:\t0:11:00\n"
                                  "\n"
                                  "mode:\t\trandom\n"
                                  "selected:\t-1\n"
                                  "\n";
const std::string settings_list = "programs:\t\t\t\t\t\t\t\t      \\\n"
                                  "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                                  "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
                                  "-\t\t\t\tnoseguy --root\t\t\t\t    \\n\\\n" +
                                  written_line;
const std::string settings_tail = "\n\npointerHysteresis:  10\n";

}  // namespace

TEST(Hack_list_edit, each_kind_of_list_gets_the_garden_and_keeps_every_other_byte)
{
    const struct {
        const char* name;
        std::string in;
        bool select;
        std::string out;
        size_t index;
    } table[] = {
        {"as the settings program writes it: before its closing blank line",
         settings_head + settings_list + settings_tail, false, settings_head + settings_list + garden_middle + settings_tail, 4},
        {"selected: mode random becomes one, selected -1 the garden's place, disabled entries counted",
         settings_head + settings_list + settings_tail, true,
         "# XScreenSaver Preferences File\ntimeout:\t0:11:00\n\nmode:\t\tone\nselected:\t4\n\n" + settings_list +
             garden_middle + settings_tail,
         4},
        {"an empty list the settings program wrote", "programs:\t\t\t\t\t\t\t\t      \\\n\n", false,
         "programs:\t\t\t\t\t\t\t\t      \\\n" + garden_middle + "\n", 0},
        {"an empty list on one line", "lock:\tFalse\nprograms:\nfade:\tFalse\n", false,
         "lock:\tFalse\nprograms:\\\n" + garden + "\nfade:\tFalse\n", 0},
        {"one entry on the key's line, ended by \\n", "programs:\tmaze --root \\n\n", false,
         "programs:\tmaze --root \\n\\\n" + garden_ended + "\n", 1},
        {"the last entry without \\n nor backslash", "programs: \\\n  maze --root \\n\\\n  qix --root\nfade: False\n",
         false, "programs: \\\n  maze --root \\n\\\n  qix --root \\n\\\n" + garden + "\nfade: False\n", 2},
        {"the last entry without \\n before its backslash", "programs: \\\n  maze --root \\\n\n", false,
         "programs: \\\n  maze --root  \\n\\\n" + garden_middle + "\n", 1},
        {"a command wrapped over two lines stays one entry",
         "programs: \\\n  maze --root \\n\\\n  qix --root  \\\n    -solid \\n\\\n\n", false,
         "programs: \\\n  maze --root \\n\\\n  qix --root  \\\n    -solid \\n\\\n" + garden_middle + "\n", 2},
        {"a file that ends inside the list", "programs: \\\n  maze --root \\n\\", false,
         "programs: \\\n  maze --root \\n\\\n" + garden_middle.substr(0, garden_middle.size() - 1), 1},
        {"blank entries are no entries", "programs: \\\n  maze --root \\n\\\n  \\n\\\n  - qix --root \\n\\\n\n", true,
         "mode:\t\tone\nselected:\t2\nprograms: \\\n  maze --root \\n\\\n  \\n\\\n  - qix --root \\n\\\n" +
             garden_middle + "\n",
         2},
        {"mode one kept, selected present", "mode: one\nselected: 0\nprograms:\tmaze --root \\n\n", true,
         "mode: one\nselected: 1\nprograms:\tmaze --root \\n\\\n" + garden_ended + "\n", 1},
        {"mode blank and selected without a value", "mode:\tblank\nselected:\nprograms:\tmaze --root\n", true,
         "mode:\tone\nselected: 1\nprograms:\tmaze --root \\n\\\n" + garden + "\n", 1},
        {"only the last programs: counts; comments are none",
         "programs: a\n# programs: b\nPrograms: maze --root \\n\n", false,
         "programs: a\n# programs: b\nPrograms: maze --root \\n\\\n" + garden_ended + "\n", 1},
        {"no list: the daemon's own follows the garden's", "mode:\trandom", true,
         "mode:\tone\nselected:\t0\nprograms:\t\t\t\t\t\t\t\t      \\\n" + garden_middle + "\n", 0},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        const Hack_list_edit::Result result = Hack_list_edit::add_garden(row.in, row.select);
        EXPECT_EQ(result.text, row.out);
        EXPECT_TRUE(result.added && result.changed);
        EXPECT_EQ(result.index, row.index);
    }
}

TEST(Hack_list_edit, a_garden_already_listed_stays_where_it_is)
{
    const struct {
        const char* name;
        std::string in;
        bool select;
        std::string out;
        size_t index;
        bool disabled;
    } table[] = {
        {"enabled", "programs: \\\n  maze --root \\n\\\n  GL: gardenlume --root \\n\\\n\n", false, "", 1, false},
        {"disabled", "programs:\tmaze --root \\n- GL: gardenlume --root\n", false, "", 1, true},
        {"by its path, under a name", "programs: \"Garden\" /usr/lib/gardenlume/gardenlume.scr --root\n", false, "", 0,
         false},
        {"selected when asked", "mode: random\nprograms: maze --root \\n\\\n -GL: gardenlume --root\n", true,
         "mode: one\nselected:\t1\nprograms: maze --root \\n\\\n -GL: gardenlume --root\n", 1, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        const Hack_list_edit::Result result = Hack_list_edit::add_garden(row.in, row.select);
        EXPECT_FALSE(result.added);
        EXPECT_EQ(result.changed, !row.out.empty());
        EXPECT_EQ(result.text, row.out.empty() ? row.in : row.out);
        EXPECT_EQ(result.index, row.index);
        EXPECT_EQ(result.disabled, row.disabled);
    }
}

TEST(Hack_list_edit, a_text_the_daemon_reads_otherwise_than_it_looks_is_left_alone)
{
    // The daemon reads 1,022 bytes first and drops the two bytes before a
    // chunk's edge when the first is a backslash: here the "\n" that ends
    // maze's entry, so qix's becomes part of it.
    std::string long_line = "programs: maze --root";
    long_line.resize(1020, ' ');
    const struct {
        const char* name;
        std::string text;
    } table[] = {
        {"a backslash escaping the next line's: the entry is one the garden's line would split",
         "mode:\tone\nprograms:\\\\\n\\"},
        {"a last line ending in a backslash and one byte, which the daemon drops",
         "programs: maze --root\ntextLiteral: C:\\x"},
        {"a line cut at the daemon's chunk edge", long_line + "\\n  qix --root\n"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        const Hack_list_edit::Result result = Hack_list_edit::add_garden(row.text, true);
        EXPECT_TRUE(result.misread || result.unfollowable);
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(result.text, row.text);
    }
}

TEST(Hack_list_edit, a_new_file_is_the_system_list_each_entry_as_there_and_the_garden)
{
    // An app-defaults excerpt in its X resource syntax: a name, a disabled
    // entry, an escaped backslash in a command, a name too long to end
    // before the command's column.
    const std::string app_defaults = "! comment\n*mode:\trandom\n*programs:\t\t\\\n"
                                     "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                                     "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
                                     "  \"Two Words\" qix -x a\\\\b --root\\n\\\n"
                                     "\"A Name Of Twenty-Nine Letters\" swirl\n"
                                     "*hacks.qix.name: Qix\n";
    std::string programs;
    ASSERT_TRUE(App_defaults::programs(app_defaults, programs));
    const Hack_list_edit::Result result = Hack_list_edit::new_file(programs, true);
    EXPECT_TRUE(result.changed && result.added);
    EXPECT_EQ(result.index, 4u);
    EXPECT_EQ(result.text, "# XScreenSaver Preferences File\n"
                           "# Written by gardenlume-xscreensaver: the system's list of hacks and the garden.\n\n"
                           "mode:\t\tone\nselected:\t4\n\n"
                           "programs:\t\t\t\t\t\t\t\t      \\\n"
                           "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                           "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
                           "\t\t   \"Two Words\" \tqix -x a\\\\b --root\t\t\t    \\n\\\n"
                           "\"A Name Of Twenty-Nine Letters\" swirl\t\t\t\t\t    \\n\\\n" +
                               garden + "\n\n");
}

TEST(Hack_list_edit, a_system_list_that_names_the_garden_keeps_it_once)
{
    const std::string programs = "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n  GL: gardenlume --root \\n\\\n\t\t\t\tswirl --root\n";
    const Hack_list_edit::Result result = Hack_list_edit::new_file(programs, true);
    EXPECT_TRUE(result.changed);
    EXPECT_FALSE(result.added);
    EXPECT_EQ(result.index, 1u);
    const std::string listed = "gardenlume --root";
    const size_t first = result.text.find(listed);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(result.text.find(listed, first + 1), std::string::npos) << result.text;
}

TEST(Hack_list_edit, remove_takes_the_gardens_entry_out_and_nothing_else)
{
    const std::string one_shown = "mode:\t\tone\nselected:\t4\n\n";
    const struct {
        const char* name;
        std::string in;
        std::string out;
        size_t index;
        bool selected;  // mode: one becomes random
    } table[] = {
        {"as the settings program writes it: back to the bytes before the garden",
         settings_head + settings_list + garden_middle + settings_tail,
         settings_head + settings_list + settings_tail, 4, false},
        {"the garden shown alone: the mode random again, nothing else",
         one_shown + settings_list + garden_middle + settings_tail,
         "mode:\t\trandom\nselected:\t4\n\n" + settings_list + settings_tail, 4, true},
        {"a hack chosen after the garden stays the one chosen",
         "mode: one\nselected: 2\nprograms: \\\n  maze --root \\n\\\n" + garden_middle + "  qix --root \\n\\\n\n",
         "mode: one\nselected: 1\nprograms: \\\n  maze --root \\n\\\n  qix --root \\n\\\n\n", 1, false},
        {"the garden's line last: the line before it ends the list again",
         "programs:\tmaze --root \\n\\\n" + garden_ended + "\nfade:\tFalse\n",
         "programs:\tmaze --root \\n\nfade:\tFalse\n", 1, false},
        {"disabled, on the key's line before another entry",
         "programs: -GL: gardenlume --root \\n maze --root\n", "programs:  maze --root\n", 0, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        const Hack_list_edit::Result result = Hack_list_edit::remove_garden(row.in);
        EXPECT_EQ(result.text, row.out);
        EXPECT_TRUE(result.removed && result.changed);
        EXPECT_EQ(result.index, row.index);
        EXPECT_EQ(result.selected, row.selected);
    }
    // Taken out already: nothing to do.
    const std::string without = settings_head + settings_list + settings_tail;
    const Hack_list_edit::Result again = Hack_list_edit::remove_garden(without);
    EXPECT_FALSE(again.removed || again.changed);
    EXPECT_EQ(again.text, without);
}

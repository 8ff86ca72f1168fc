// The host's switch, read once for the saver and config.exe: which letter,
// whether the dialog's switch is clean, and the owner window in both forms.
#include <gtest/gtest.h>

#include "platform/Command_line.h"

TEST(Command_line, the_host_switch_and_its_window)
{
    const struct {
        std::vector<std::string> args;
        char letter;
        bool plain;
        unsigned long long window;
    } cases[] = {
        {{}, 0, false, 0},
        {{"--mode", "3"}, '-', false, 0},  // "-" and any character is a switch to the saver
        {{"c"}, 0, false, 0},
        {{"/"}, 0, false, 0},
        {{"/c"}, 'c', true, 0},
        {{"/C:1234"}, 'c', true, 1234},
        {{"-c", "987"}, 'c', true, 987},
        {{"/p", "0x12"}, 'p', true, 0},
        {{"/c:12ab"}, 'c', true, 0},
        {{"/c:99999999999999999999"}, 'c', true, 0},  // over 19 digits: no window
        {{"/cfg"}, 'c', false, 0},
        {{"/S", "77"}, 's', true, 77},
    };
    for (const auto& c : cases) {
        const Command_line::Host_switch s = Command_line::host_switch(c.args);
        const std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(s.letter, c.letter) << what;
        EXPECT_EQ(s.plain, c.plain) << what;
        EXPECT_EQ(s.window, c.window) << what;
        EXPECT_EQ(s.text, c.letter ? c.args[0] : "") << what;
    }
}

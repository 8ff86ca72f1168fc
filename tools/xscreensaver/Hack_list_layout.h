// How xscreensaver-settings lays the list of hacks out in ~/.xscreensaver,
// which every line the command writes follows: "programs:" on a line of its
// own, then one entry a line, its command at column 32 and the "\n" that
// ends it at column 76, and a blank line after the list.
#pragma once
#include <string>
#include <vector>

#include "tools/xscreensaver/Xscreensaver_file.h"

class Hack_list_layout {
public:
    static const char* const garden_line;      // the garden's entry up to its command's end
    static const char* const garden_line_end;  // what ends it where more entries follow: "\n" at column 76
    static const char* const programs_line;    // "programs:" and the backslash that goes on
    static const char* const mode_line;        // "mode:" set to one
    static const char* const selected_line;    // "selected:" before its number

    // Whether an entry runs the garden (gardenlume, or gardenlume.scr by path).
    static bool is_garden(const Xscreensaver_file::Hack& hack);
    // A whole file: a head comment, mode and selected (when `selected` is
    // not empty), then `hacks` entry by entry, enabled or disabled, the
    // garden last when `with_garden`.
    static std::string new_file(const std::vector<Xscreensaver_file::Hack>& hacks, bool with_garden,
                                const std::string& selected);
};

#include "tools/xscreensaver/Hack_list_layout.h"

const char* const Hack_list_layout::garden_line = "  GL: \t\t\t\tgardenlume --root";
const char* const Hack_list_layout::garden_line_end = "\t\t\t    \\n";
const char* const Hack_list_layout::programs_line = "programs:\t\t\t\t\t\t\t\t      \\";
const char* const Hack_list_layout::mode_line = "mode:\t\tone";
const char* const Hack_list_layout::selected_line = "selected:\t";

namespace {

using Hack = Xscreensaver_file::Hack;

// Moves from column `col` to `to` as the settings program does: tabs of 8,
// then blanks.
void tab_to(std::string& out, size_t col, size_t to)
{
    while (col < to / 8 * 8) {
        out += '\t';
        col = (col / 8 + 1) * 8;
    }
    for (; col < to; ++col) out += ' ';
}

size_t columns(const std::string& s)
{
    size_t col = 0;
    for (char c : s) col = c == '\t' ? (col / 8 + 1) * 8 : col + 1;
    return col;
}

// The daemon takes a backslash as an escape: one of the entry's own is doubled.
std::string escaped(const std::string& s)
{
    std::string out;
    for (char c : s) out += c == '\\' ? "\\\\" : std::string(1, c);
    return out;
}

// An entry as the settings program lays it out: "-" when disabled, the
// visual, the name in quotes, the command at column 32.
std::string entry_line(const Hack& h)
{
    std::string out = h.enabled ? "" : "-";
    if (!h.visual.empty()) out += std::string(h.enabled ? "  " : " ") + escaped(h.visual) + ": ";
    if (!h.name.empty()) {
        // The name ends two columns before the command where it fits.
        const size_t width = h.name.size() + 2;
        if (width + columns(out) >= 32)
            out += ' ';
        else if (width + 2 <= 32)
            tab_to(out, columns(out), 32 - width - 2);
        out += "\"" + escaped(h.name) + "\" ";
    }
    tab_to(out, columns(out), 32);
    return out + escaped(h.command);
}

}  // namespace

bool Hack_list_layout::is_garden(const Hack& hack)
{
    const std::string program = hack.program();
    return program == "gardenlume" || program == "gardenlume.scr";
}

std::string Hack_list_layout::new_file(const std::vector<Hack>& hacks, bool with_garden, const std::string& selected)
{
    std::string text = "# XScreenSaver Preferences File\n"
                       "# Written by gardenlume-xscreensaver: the system's list of hacks and the garden.\n\n";
    if (!selected.empty()) text += std::string(mode_line) + "\n" + selected_line + selected + "\n\n";
    text += std::string(programs_line) + "\n";
    for (const Hack& hack : hacks) {
        const std::string line = entry_line(hack);
        text += line;
        tab_to(text, columns(line), 75);
        text += " \\n\\\n";
    }
    if (with_garden) text += std::string(garden_line) + "\n";
    return text + "\n";
}

#include "tools/xscreensaver/Hack_list_edit.h"

#include <algorithm>
#include <vector>

#include "tools/xscreensaver/Daemon_reading.h"
#include "tools/xscreensaver/Xscreensaver_file.h"

namespace {

using Line = Xscreensaver_file::Line;
using Setting = Xscreensaver_file::Setting;

// The garden's line as xscreensaver-settings lays an entry out: the command
// at column 32 and, when more entries follow, the "\n" that ends it at
// column 76.
const char* const garden_line = "  GL: \t\t\t\tgardenlume --root";
const char* const garden_line_end = "\t\t\t    \\n";
const char* const programs_line = "programs:\t\t\t\t\t\t\t\t      \\";
const char* const mode_line = "mode:\t\tone";
const char* const selected_line = "selected:\t";

// `erase` bytes at `at` replaced by `insert`.
struct Splice {
    size_t at;
    size_t erase;
    std::string insert;
};

std::string apply(const std::string& text, std::vector<Splice> splices)
{
    std::stable_sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) { return a.at < b.at; });
    std::string out;
    size_t done = 0;
    for (const Splice& s : splices) {
        out.append(text, done, s.at - done);
        out += s.insert;
        done = s.at + s.erase;
    }
    out.append(text, done, std::string::npos);
    return out;
}

bool is_garden(const Xscreensaver_file::Hack& hack)
{
    const std::string program = hack.program();
    return program == "gardenlume" || program == "gardenlume.scr";
}

bool ends_in_backslash(const std::string& text, const Line& line)
{
    return line.end > line.begin && text[line.end - 1] == '\\';
}

// Whether a line's last backslash marks it as going on in the next: always
// before a newline (the daemon counts no backslashes there); on a last line
// without one, only when no backslash before it makes the two an escape.
bool goes_on(const std::string& text, const Line& line)
{
    if (line.terminated) return ends_in_backslash(text, line);
    size_t run = 0;
    while (run < line.end - line.begin && text[line.end - 1 - run] == '\\') ++run;
    return run % 2 == 1;
}

bool blank(const std::string& text, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i)
        if (text[i] != ' ' && text[i] != '\t') return false;
    return true;
}

// The programs: setting's lines as spans of entries: where the entries of
// line `i` begin and end, without the key and the continuing backslash.
class Programs_lines {
public:
    Programs_lines(const std::string& text, const std::vector<Line>& lines, const Setting& setting)
        : text(text), lines(lines), colon_line(setting.first_line), colon(setting.colon)
    {
        while (colon_line < setting.last_line && lines[colon_line].end <= colon) ++colon_line;
    }
    size_t begin(size_t i) const { return i == colon_line ? colon + 1 : lines[i].begin; }
    size_t end(size_t i) const { return goes_on(text, lines[i]) ? lines[i].end - 1 : lines[i].end; }
    // The last line holding part of an entry; the key's line when none does.
    size_t last_with_entries(size_t last_line) const
    {
        size_t j = colon_line;
        for (size_t i = colon_line + 1; i <= last_line; ++i)
            if (!blank(text, begin(i), end(i))) j = i;
        return j;
    }

private:
    const std::string& text;
    const std::vector<Line>& lines;
    size_t colon_line;
    size_t colon;
};

// The garden's line after the last entry of programs:, with the "\n" the
// entry before it needs to end. Where the setting goes on past its last
// entry (xscreensaver-settings ends it with a blank line) the new line is
// one more entry in the middle; else it becomes the last line, ending as
// the old last line did.
void add_to_programs(const std::string& text, const std::vector<Line>& lines, const Setting& programs,
                     std::vector<Splice>& splices)
{
    const Programs_lines spans(text, lines, programs);
    const size_t last = programs.last_line;
    const size_t j = spans.last_with_entries(last);
    const bool entry_ended = programs.ends_in_newline;
    const bool needs_end = !programs.value.empty() && !entry_ended;
    const std::string middle_line = std::string(garden_line) + garden_line_end + "\\";

    // The blank before "\n" keeps it whole after a line that ends in an
    // escaping backslash besides the continuing one.
    if (j < last) {
        if (needs_end) splices.push_back({spans.end(j), 0, " \\n"});
        splices.push_back({lines[j + 1].begin, 0, middle_line + "\n"});
    } else if (goes_on(text, lines[last])) {
        // The file ends inside the setting: its last line goes on into nothing.
        if (needs_end) splices.push_back({spans.end(j), 0, " \\n"});
        splices.push_back({lines[last].end, 0, "\n" + middle_line});
    } else {
        const std::string ending = entry_ended ? garden_line_end : "";
        splices.push_back(
            {lines[last].end, 0, std::string(needs_end ? " \\n" : "") + "\\\n" + garden_line + ending});
    }
}

// A value replaced in place, keeping the key and the blanks after it.
Splice replace_value(const std::vector<Line>& lines, const Setting& setting, const std::string& value)
{
    const size_t end = lines[setting.last_line].end;
    return {setting.value_begin, end - setting.value_begin, (setting.value.empty() ? " " : "") + value};
}

// The daemon reads the mode without case.
bool is_one(const std::string& mode)
{
    if (mode.size() != 3) return false;
    std::string lower = mode;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lower == "one";
}

// What goes before a setting added at the end of a file: the last line's
// newline, and a blank line after one that ends in a backslash, which
// would carry it on into the new setting.
std::string line_break_at_end(const std::string& text, const std::vector<Line>& lines)
{
    if (lines.empty()) return std::string();
    const std::string newline = lines.back().terminated ? "" : "\n";
    return ends_in_backslash(text, lines.back()) ? newline + "\n" : newline;
}

bool edited_setting(const std::string& key)
{
    return Xscreensaver_file::same_key(key, "programs") || Xscreensaver_file::same_key(key, "mode") ||
           Xscreensaver_file::same_key(key, "selected");
}

std::vector<Daemon_reading::Setting> other_settings(const Daemon_reading& file)
{
    std::vector<Daemon_reading::Setting> list;
    for (const Daemon_reading::Setting& s : file.all())
        if (!edited_setting(s.first)) list.push_back(s);
    return list;
}

std::vector<Xscreensaver_file::Hack> hacks_of(const Daemon_reading& file)
{
    const std::string* programs = file.find("programs");
    return Xscreensaver_file::hacks(programs ? *programs : std::string());
}

// Whether the edit's model of the text reads it as the daemon does: every
// setting the same, in the same order. Where it does not (a line cut at
// the daemon's chunk edge, a last line ending in a backslash and one more
// byte) no place the model gives can be trusted.
bool model_reads_as_the_daemon(const Xscreensaver_file& file, const Daemon_reading& daemon)
{
    std::vector<Daemon_reading::Setting> model;
    for (const Setting& s : file.all()) model.emplace_back(s.key, s.value);
    return model == daemon.all();
}

// What the daemon will read from the edited text is the old list with the
// garden at its place, every other setting as it was: judged by reading the
// new bytes as the daemon does, not by the model that made them.
bool reads_back_as_meant(const Daemon_reading& before, const std::string& text, const Hack_list_edit::Result& r,
                         bool select)
{
    const Daemon_reading after(text);
    std::vector<Xscreensaver_file::Hack> hacks = hacks_of(after);
    if (r.index >= hacks.size() || !is_garden(hacks[r.index])) return false;
    if (r.added) hacks.erase(hacks.begin() + long(r.index));
    if (hacks != hacks_of(before) || other_settings(after) != other_settings(before)) return false;
    if (!select) return true;
    const std::string* mode = after.find("mode");
    const std::string* selected = after.find("selected");
    return mode && is_one(*mode) && selected && *selected == std::to_string(r.index);
}

}  // namespace

Hack_list_edit::Result Hack_list_edit::add_garden(const std::string& text, bool select)
{
    Result result;
    const Xscreensaver_file file(text);
    const Daemon_reading daemon(text);
    if (!model_reads_as_the_daemon(file, daemon)) {
        result.misread = true;
        result.text = text;
        return result;
    }
    const std::vector<Line>& lines = file.lines();
    const Setting* programs = file.find("programs");
    const auto hacks = Xscreensaver_file::hacks(programs ? programs->value : std::string());
    const auto garden = std::find_if(hacks.begin(), hacks.end(), is_garden);
    result.index = size_t(garden - hacks.begin());
    result.added = garden == hacks.end();
    result.disabled = !result.added && !garden->enabled;

    std::vector<Splice> splices;
    std::string new_lines;  // settings that are missing, written before programs:
    if (select) {
        const Setting* mode = file.find("mode");
        const Setting* selected = file.find("selected");
        const std::string index = std::to_string(result.index);
        if (!mode)
            new_lines += std::string(mode_line) + "\n";
        else if (!is_one(mode->value))
            splices.push_back(replace_value(lines, *mode, "one"));
        if (!selected)
            new_lines += selected_line + index + "\n";
        else if (selected->value != index)
            splices.push_back(replace_value(lines, *selected, index));
        result.selected = !new_lines.empty() || !splices.empty();
    }
    if (programs) {
        if (!new_lines.empty()) splices.push_back({lines[programs->first_line].begin, 0, new_lines});
        if (result.added) add_to_programs(text, lines, *programs, splices);
    } else {
        // No list of its own: the daemon's list then comes from its defaults,
        // and it appends those to a list the file has too.
        splices.push_back({text.size(), 0,
                           line_break_at_end(text, lines) + new_lines + programs_line + "\n" + garden_line +
                               garden_line_end + "\\\n\n"});
    }
    result.changed = !splices.empty();
    result.text = result.changed ? apply(text, splices) : text;
    if (result.changed && !reads_back_as_meant(daemon, result.text, result, select)) {
        result.unfollowable = true;
        result.changed = false;
        result.text = text;
    }
    return result;
}

namespace {

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
std::string entry_line(const Xscreensaver_file::Hack& h)
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

Hack_list_edit::Result Hack_list_edit::new_file(const std::string& system_programs, bool select)
{
    const std::vector<Xscreensaver_file::Hack> system = Xscreensaver_file::hacks(system_programs);
    // A system list that names the garden already (a distribution's own
    // entry) keeps that one entry: the garden is not listed twice.
    const size_t listed = size_t(std::find_if(system.begin(), system.end(), is_garden) - system.begin());
    Result result;
    result.added = listed == system.size();
    result.index = listed;
    std::string text = "# XScreenSaver Preferences File\n"
                       "# Written by gardenlume-xscreensaver: the system's list of hacks and the garden.\n\n";
    if (select) {
        text += std::string(mode_line) + "\n" + selected_line + std::to_string(result.index) + "\n\n";
        result.selected = true;
    }
    text += std::string(programs_line) + "\n";
    for (const Xscreensaver_file::Hack& hack : system) {
        const std::string line = entry_line(hack);
        text += line;
        tab_to(text, columns(line), 75);
        text += " \\n\\\n";
    }
    if (result.added) text += std::string(garden_line) + "\n";
    text += "\n";

    const Daemon_reading after(text);
    std::vector<Xscreensaver_file::Hack> hacks = hacks_of(after);
    const std::string* mode = after.find("mode");
    const std::string* selected = after.find("selected");
    const bool as_meant = hacks.size() == system.size() + (result.added ? 1 : 0) &&
                          result.index < hacks.size() && is_garden(hacks[result.index]) &&
                          std::equal(system.begin(), system.end(), hacks.begin()) &&
                          (!select || (mode && is_one(*mode) && selected && *selected == std::to_string(result.index)));
    result.unfollowable = !as_meant;
    result.changed = as_meant;
    result.text = as_meant ? text : std::string();
    return result;
}

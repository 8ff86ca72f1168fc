#include "tools/xscreensaver/Hack_list_edit.h"

#include <algorithm>
#include <vector>

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

bool edited_setting(const Setting& s)
{
    return Xscreensaver_file::same_key(s.key, "programs") || Xscreensaver_file::same_key(s.key, "mode") ||
           Xscreensaver_file::same_key(s.key, "selected");
}

std::vector<std::pair<std::string, std::string>> other_settings(const Xscreensaver_file& file)
{
    std::vector<std::pair<std::string, std::string>> list;
    for (const Setting& s : file.all())
        if (!edited_setting(s)) list.emplace_back(s.key, s.value);
    return list;
}

std::vector<Xscreensaver_file::Hack> hacks_of(const Xscreensaver_file& file)
{
    const Setting* programs = file.find("programs");
    return Xscreensaver_file::hacks(programs ? programs->value : std::string());
}

// What the daemon will read from the edited text is the old list with the
// garden at its place, every other setting as it was.
bool reads_back_as_meant(const Xscreensaver_file& before, const std::string& text, const Hack_list_edit::Result& r,
                         bool select)
{
    const Xscreensaver_file after(text);
    std::vector<Xscreensaver_file::Hack> hacks = hacks_of(after);
    if (r.index >= hacks.size() || !is_garden(hacks[r.index])) return false;
    if (r.added) hacks.erase(hacks.begin() + long(r.index));
    if (hacks != hacks_of(before) || other_settings(after) != other_settings(before)) return false;
    if (!select) return true;
    const Setting* mode = after.find("mode");
    const Setting* selected = after.find("selected");
    return mode && is_one(mode->value) && selected && selected->value == std::to_string(r.index);
}

}  // namespace

Hack_list_edit::Result Hack_list_edit::add_garden(const std::string& text, bool select)
{
    Result result;
    const Xscreensaver_file file(text);
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
    if (result.changed && !reads_back_as_meant(file, result.text, result, select)) {
        result.unfollowable = true;
        result.changed = false;
        result.text = text;
    }
    return result;
}

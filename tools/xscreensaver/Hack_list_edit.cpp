#include "tools/xscreensaver/Hack_list_edit.h"

#include <algorithm>
#include <vector>

#include "tools/xscreensaver/Hack_list_layout.h"
#include "tools/xscreensaver/Xscreensaver_file.h"

namespace {

using Line = Xscreensaver_file::Line;
using Setting = Xscreensaver_file::Setting;
using Hack = Xscreensaver_file::Hack;
using Layout = Hack_list_layout;
using File = Xscreensaver_file;

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

// The garden's line after the last entry of programs:, with the "\n" the
// entry before it needs to end. Where the setting goes on past its last
// entry (xscreensaver-settings ends it with a blank line) the new line is
// one more entry in the middle; else it becomes the last line, ending as
// the old last line did.
void add_to_programs(const std::string& text, const std::vector<Line>& lines, const Setting& programs,
                     std::vector<Splice>& splices)
{
    size_t colon_line = programs.first_line;
    while (colon_line < programs.last_line && lines[colon_line].end <= programs.colon) ++colon_line;
    const auto begin = [&](size_t i) { return i == colon_line ? programs.colon + 1 : lines[i].begin; };
    const size_t last = programs.last_line;
    size_t j = colon_line;  // the last line holding part of an entry
    for (size_t i = colon_line + 1; i <= last; ++i)
        if (!File::blank(text, begin(i), File::entries_end(text, lines[i]))) j = i;
    const bool needs_end = !programs.value.empty() && !programs.ends_in_newline;
    const std::string middle_line = std::string(Layout::garden_line) + Layout::garden_line_end + "\\";

    // The blank before "\n" keeps it whole after a line that ends in an
    // escaping backslash besides the continuing one.
    if (j < last) {
        if (needs_end) splices.push_back({File::entries_end(text, lines[j]), 0, " \\n"});
        splices.push_back({lines[j + 1].begin, 0, middle_line + "\n"});
    } else if (File::goes_on(text, lines[last])) {
        // The file ends inside the setting: its last line goes on into nothing.
        if (needs_end) splices.push_back({File::entries_end(text, lines[j]), 0, " \\n"});
        splices.push_back({lines[last].end, 0, "\n" + middle_line});
    } else {
        const std::string ending = programs.ends_in_newline ? Layout::garden_line_end : "";
        splices.push_back(
            {lines[last].end, 0, std::string(needs_end ? " \\n" : "") + "\\\n" + Layout::garden_line + ending});
    }
}

// An entry's bytes taken out: with its whole lines where they hold nothing
// else, and then the backslash that carried the setting on into them, when
// they were its end.
void take_out(const std::string& text, const std::vector<Line>& lines, const Setting& programs, const Hack& hack,
              std::vector<Splice>& splices)
{
    const size_t begin = programs.at[hack.begin];
    // Its "\n" is an escape of two bytes; the last entry may have none.
    size_t end = hack.end < programs.value.size() ? programs.at[hack.end] + 2 : programs.at[hack.end - 1] + 1;
    size_t first = programs.first_line, last = first;
    while (lines[first].end < begin) ++first;
    for (last = first; lines[last].end < end; ++last) {
    }
    // After the last entry only what the daemon strips follows: blanks,
    // the "\n" that would end it.
    if (hack.end == programs.value.size()) end = std::max(end, File::entries_end(text, lines[last]));
    const bool whole = first > programs.first_line && File::blank(text, lines[first].begin, begin) &&
                       File::blank(text, end, File::entries_end(text, lines[last]));
    if (!whole) {
        splices.push_back({begin, end - begin, ""});
        return;
    }
    const size_t to = lines[last].terminated ? lines[last].end + 1 : lines[last].end;
    splices.push_back({lines[first].begin, to - lines[first].begin, ""});
    if (!File::goes_on(text, lines[last])) splices.push_back({lines[first - 1].end - 1, 1, ""});
}

// A value replaced in place, keeping the key and the blanks after it.
Splice replace_value(const std::vector<Line>& lines, const Setting& setting, const std::string& value)
{
    const size_t end = lines[setting.last_line].end;
    return {setting.value_begin, end - setting.value_begin, (setting.value.empty() ? " " : "") + value};
}

bool is_one(const Setting* mode) { return mode && Xscreensaver_file::same_key(mode->value, "one"); }

// What goes before a setting added at the end of a file: the last line's
// newline, and a blank line after one that ends in a backslash, which
// would carry it on into the new setting.
std::string line_break_at_end(const std::string& text, const std::vector<Line>& lines)
{
    if (lines.empty()) return std::string();
    const std::string newline = lines.back().terminated ? "" : "\n";
    return File::ends_in_backslash(text, lines.back()) ? newline + "\n" : newline;
}

std::vector<Hack> hacks_of(const Xscreensaver_file& file)
{
    const Setting* programs = file.find("programs");
    return Xscreensaver_file::hacks(programs ? programs->value : std::string());
}

std::string value_of(const Xscreensaver_file& file, const char* key)
{
    const Setting* s = file.find(key);
    return s ? s->key + ": " + s->value : "(none)";
}

// Whether the daemon will read the edited text as meant: `hacks` in its
// list, mode and selected as `mode_is` and `selected` say (empty: as they
// were), every other setting as it was. Judged by reading the new bytes as
// the daemon does, not by the model that made them.
bool reads_back_as(const Xscreensaver_file& before, const std::string& text, const std::vector<Hack>& hacks,
                   const char* mode_is, const std::string& selected)
{
    const Xscreensaver_file after(text);
    const auto others = [](const Xscreensaver_file& file) {
        std::vector<std::pair<std::string, std::string>> list;
        for (const Setting& s : file.all())
            if (!Xscreensaver_file::same_key(s.key, "programs") && !Xscreensaver_file::same_key(s.key, "mode") &&
                !Xscreensaver_file::same_key(s.key, "selected"))
                list.emplace_back(s.key, s.value);
        return list;
    };
    const Setting* mode = after.find("mode");
    const Setting* chosen = after.find("selected");
    return after.reads_as_it_looks() && hacks_of(after) == hacks && others(after) == others(before) &&
           (mode_is ? mode && Xscreensaver_file::same_key(mode->value, mode_is)
                    : value_of(after, "mode") == value_of(before, "mode")) &&
           (selected.empty() ? value_of(after, "selected") == value_of(before, "selected")
                             : chosen && chosen->value == selected);
}

Hack_list_edit::Result unchanged(const std::string& text, bool misread)
{
    Hack_list_edit::Result result;
    result.text = text;
    result.misread = misread;
    return result;
}

// The edit given out, or nothing changed when it does not read back as meant.
Hack_list_edit::Result finish(Hack_list_edit::Result result, const std::string& text,
                              const std::vector<Splice>& splices, bool as_meant)
{
    result.changed = !splices.empty() && as_meant;
    result.unfollowable = !splices.empty() && !as_meant;
    result.text = result.changed ? apply(text, splices) : text;
    return result;
}

}  // namespace

Hack_list_edit::Result Hack_list_edit::add_garden(const std::string& text, bool select)
{
    const Xscreensaver_file file(text);
    if (!file.reads_as_it_looks()) return unchanged(text, true);
    Result result;
    const std::vector<Line>& lines = file.lines();
    const Setting* programs = file.find("programs");
    const auto hacks = hacks_of(file);
    const auto garden = std::find_if(hacks.begin(), hacks.end(), Layout::is_garden);
    result.index = size_t(garden - hacks.begin());
    result.added = garden == hacks.end();
    result.disabled = !result.added && !garden->enabled;

    std::vector<Splice> splices;
    std::string new_lines;  // settings that are missing, written before programs:
    const std::string index = std::to_string(result.index);
    if (select) {
        const Setting* mode = file.find("mode");
        const Setting* selected = file.find("selected");
        if (!mode)
            new_lines += std::string(Layout::mode_line) + "\n";
        else if (!is_one(mode))
            splices.push_back(replace_value(lines, *mode, "one"));
        if (!selected)
            new_lines += Layout::selected_line + index + "\n";
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
                           line_break_at_end(text, lines) + new_lines + Layout::programs_line + "\n" +
                               Layout::garden_line + Layout::garden_line_end + "\\\n\n"});
    }
    std::vector<Hack> meant = hacks;
    if (result.added) meant.push_back(Xscreensaver_file::hacks(Layout::garden_line).front());
    const bool as_meant = splices.empty() || reads_back_as(file, apply(text, splices), meant, select ? "one" : nullptr,
                                                           select ? index : std::string());
    return finish(result, text, splices, as_meant);
}

Hack_list_edit::Result Hack_list_edit::remove_garden(const std::string& text)
{
    const Xscreensaver_file file(text);
    if (!file.reads_as_it_looks()) return unchanged(text, true);
    Result result;
    const Setting* programs = file.find("programs");
    const std::vector<Hack> hacks = hacks_of(file);
    std::vector<Hack> meant;
    std::vector<Splice> splices;
    const Setting* selected = file.find("selected");
    const std::string chosen = selected ? selected->value : std::string();
    std::string renumbered;  // the place of the hack chosen, when it is not the garden
    bool garden_chosen = false;
    for (size_t i = 0; i < hacks.size(); ++i) {
        const bool is_chosen = std::to_string(i) == chosen;
        if (!Layout::is_garden(hacks[i])) {
            if (is_chosen) renumbered = std::to_string(meant.size());
            meant.push_back(hacks[i]);
            continue;
        }
        garden_chosen = garden_chosen || is_chosen;
        if (!result.removed) {
            result.index = i;
            result.disabled = !hacks[i].enabled;
        }
        result.removed = true;
        take_out(text, file.lines(), *programs, hacks[i], splices);
    }
    if (!result.removed) return unchanged(text, false);
    // The garden shown alone gives way to them all; another hack chosen
    // stays the one chosen.
    const Setting* mode = file.find("mode");
    result.selected = is_one(mode) && garden_chosen;
    if (result.selected) splices.push_back(replace_value(file.lines(), *mode, "random"));
    const bool follows = !renumbered.empty() && renumbered != chosen;
    if (follows) splices.push_back(replace_value(file.lines(), *selected, renumbered));
    const bool as_meant = reads_back_as(file, apply(text, splices), meant, result.selected ? "random" : nullptr,
                                        follows ? renumbered : std::string());
    return finish(result, text, splices, as_meant);
}

Hack_list_edit::Result Hack_list_edit::new_file(const std::string& system_programs, bool select)
{
    const std::vector<Hack> system = Xscreensaver_file::hacks(system_programs);
    // A system list that names the garden already (a distribution's own
    // entry) keeps that one entry: the garden is not listed twice.
    const size_t listed = size_t(std::find_if(system.begin(), system.end(), Layout::is_garden) - system.begin());
    Result result;
    result.added = listed == system.size();
    result.index = listed;
    result.selected = select;
    const std::string index = std::to_string(result.index);
    const std::string text = Layout::new_file(system, result.added, select ? index : std::string());

    const Xscreensaver_file after(text);
    const std::vector<Hack> hacks = hacks_of(after);
    const Setting* mode = after.find("mode");
    const Setting* selected = after.find("selected");
    const bool as_meant = hacks.size() == system.size() + (result.added ? 1 : 0) && result.index < hacks.size() &&
                          Layout::is_garden(hacks[result.index]) &&
                          std::equal(system.begin(), system.end(), hacks.begin()) &&
                          (!select || (is_one(mode) && selected && selected->value == index));
    result.unfollowable = !as_meant;
    result.changed = as_meant;
    result.text = as_meant ? text : std::string();
    return result;
}

#include "tools/xscreensaver/Xscreensaver_file.h"

namespace {

using Line = Xscreensaver_file::Line;
using Hack = Xscreensaver_file::Hack;

// A character of a setting and the byte of the text it came from.
struct Traced {
    char c;
    size_t at;
};
using Traced_text = std::vector<Traced>;

// What the daemon strips from both ends of a setting and of its value.
bool strippable(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// What the daemon skips before an entry of programs:.
bool between_entries(char c) { return c == ' ' || c == '\t' || c == '\n'; }
// isspace in the C locale, which reads an entry of programs:.
bool space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::vector<Line> split_lines(const std::string& text)
{
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t nl = text.find('\n', begin);
        if (nl == std::string::npos) {
            lines.push_back({begin, text.size(), false});
            break;
        }
        lines.push_back({begin, nl, true});
        begin = nl + 1;
    }
    return lines;
}

// The lines of one setting from `first` on, joined into `out`; returns its
// last line. The daemon reads a line with its '\n' and reads on while what
// it has gathered ends in backslash-newline and is longer than those two
// bytes; the pair itself is dropped.
size_t gather(const std::string& text, const std::vector<Line>& lines, size_t first, Traced_text& out)
{
    for (size_t i = first;; ++i) {
        const Line& line = lines[i];
        for (size_t b = line.begin; b < line.end; ++b) out.push_back({text[b], b});
        const bool backslash = line.end > line.begin && text[line.end - 1] == '\\';
        if (!line.terminated || !backslash || out.size() + 1 <= 2) return i;
        out.pop_back();
        if (i + 1 == lines.size()) return i;
    }
}

// "\n", "\r", "\t" stand for those characters, a backslash before any
// other for that character; one at the very end stands for nothing.
Traced_text resolve_escapes(const Traced_text& in)
{
    Traced_text out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i].c != '\\') {
            out.push_back(in[i]);
            continue;
        }
        if (i + 1 == in.size()) break;
        const char c = in[++i].c;
        out.push_back({c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c, in[i - 1].at});
    }
    return out;
}

std::string chars(const Traced_text& t, size_t begin, size_t end)
{
    std::string s;
    for (size_t i = begin; i < end; ++i) s.push_back(t[i].c);
    return s;
}

// A comment, a blank or a line without a colon is no setting.
bool read_setting(const Traced_text& t, Xscreensaver_file::Setting& setting)
{
    size_t begin = 0, end = t.size();
    while (begin < end && strippable(t[begin].c)) ++begin;
    while (end > begin && strippable(t[end - 1].c)) --end;
    if (begin == end || t[begin].c == '#' || t[begin].c == '!' || t[begin].c == ';') return false;
    size_t colon = begin;
    while (colon < end && t[colon].c != ':') ++colon;
    if (colon == end) return false;
    size_t value = colon + 1;
    while (value < end && strippable(t[value].c)) ++value;
    setting.key = chars(t, begin, colon);
    setting.value = chars(t, value, end);
    setting.colon = t[colon].at;
    setting.value_begin = value < end ? t[value].at : t[colon].at + 1;
    size_t last = t.size();
    while (last > colon + 1 && (t[last - 1].c == ' ' || t[last - 1].c == '\t')) --last;
    setting.ends_in_newline = last > colon + 1 && t[last - 1].c == '\n';
    return true;
}

Hack read_hack(const std::string& line)
{
    Hack hack;
    size_t i = 0;
    const size_t n = line.size();
    auto skip_space = [&] {
        while (i < n && space(line[i])) ++i;
    };
    skip_space();
    if (i < n && line[i] == '-') {
        hack.enabled = false;
        ++i;
        skip_space();
    }
    const size_t word = i;
    while (i < n && line[i] != ':' && line[i] != '"' && !space(line[i])) ++i;
    if (i < n && line[i] == ':') {
        hack.visual = line.substr(word, i - word);
        ++i;
        skip_space();
    } else {
        i = word;
    }
    if (i < n && line[i] == '"') {
        const size_t name = ++i;
        while (i < n && line[i] != '"') ++i;
        hack.name = line.substr(name, i - name);
        if (i < n) ++i;
        skip_space();
    }
    size_t end = n;
    while (end > i && space(line[end - 1])) --end;
    hack.command = line.substr(i, end - i);
    return hack;
}

}  // namespace

std::string Xscreensaver_file::Hack::program() const
{
    size_t end = 0;
    while (end < command.size() && !space(command[end])) ++end;
    if (end == 0) return std::string();
    const size_t slash = command.rfind('/', end - 1);
    const size_t begin = slash == std::string::npos ? 0 : slash + 1;
    return command.substr(begin, end - begin);
}

Xscreensaver_file::Xscreensaver_file(const std::string& text) : line_list(split_lines(text))
{
    for (size_t first = 0; first < line_list.size(); ++first) {
        Traced_text joined;
        const size_t last = gather(text, line_list, first, joined);
        Setting setting;
        if (read_setting(resolve_escapes(joined), setting)) {
            setting.first_line = first;
            setting.last_line = last;
            settings.push_back(setting);
        }
        first = last;
    }
}

bool Xscreensaver_file::same_key(const std::string& key, const char* name)
{
    size_t i = 0;
    for (; i < key.size() && name[i]; ++i)
        if (lower(key[i]) != lower(name[i])) return false;
    return i == key.size() && !name[i];
}

const Xscreensaver_file::Setting* Xscreensaver_file::find(const char* key) const
{
    for (size_t i = settings.size(); i-- > 0;)
        if (same_key(settings[i].key, key)) return &settings[i];
    return nullptr;
}

std::vector<Hack> Xscreensaver_file::hacks(const std::string& programs)
{
    // Every run up to a newline is an entry once the blanks and newlines
    // before it are skipped, as the daemon counts them.
    std::vector<Hack> list;
    size_t start = 0;
    while (start < programs.size()) {
        while (start < programs.size() && between_entries(programs[start])) ++start;
        size_t end = start;
        while (end < programs.size() && programs[end] != '\n') ++end;
        list.push_back(read_hack(programs.substr(start, end - start)));
        start = end + 1;
    }
    return list;
}

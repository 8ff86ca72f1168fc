#include "tools/xscreensaver/Xscreensaver_file.h"

#include <algorithm>

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

// The daemon's stdio over the text: fgets(buf, n) gives at most n - 1
// bytes, ending after a newline; nothing at the end of the text.
class Chunks {
public:
    explicit Chunks(const std::string& text) : text(text) {}
    bool fgets(Traced_text& buf, size_t n)
    {
        if (at >= text.size()) return false;
        for (size_t take = 0; take + 1 < n && at < text.size();) {
            buf.push_back({text[at], at});
            ++take;
            if (text[at++] == '\n') break;
        }
        return true;
    }
    size_t position() const { return at; }

private:
    const std::string& text;
    size_t at = 0;
};

// One setting's bytes as the daemon gathers them: a line with its '\n',
// read on while what it has gathered ends in a backslash and a newline (or
// does not end a line yet) and is longer than two bytes. Its buffer grows
// by 1 KiB each time it reads on and never shrinks, so the chunks of a line
// depend on the lines before it: `size` carries it from line to line. Two
// bytes dropped elsewhere than before a newline (at a chunk's edge, or a
// last line's backslash and one more byte) clear `as_it_looks`.
bool gather(Chunks& in, size_t& size, Traced_text& buf, bool& as_it_looks)
{
    buf.clear();
    if (!in.fgets(buf, size - 1)) return false;
    size_t n = buf.size();
    while (n > 2 && (buf[n - 1].c != '\n' || buf[n - 2].c == '\\')) {
        if (buf[n - 2].c == '\\') {
            if (buf[n - 1].c != '\n') as_it_looks = false;
            buf.resize(n -= 2);
        }
        size += 1024;
        if (!in.fgets(buf, size - n - 1)) break;
        n = buf.size();
    }
    return true;
}

// The line holding byte `at`.
size_t line_of(const std::vector<Line>& lines, size_t at)
{
    const auto after = std::upper_bound(lines.begin(), lines.end(), at,
                                        [](size_t a, const Line& line) { return a < line.begin; });
    return after == lines.begin() ? 0 : size_t(after - lines.begin()) - 1;
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
    setting.at.clear();
    for (size_t i = value; i < end; ++i) setting.at.push_back(t[i].at);
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
    Chunks in(text);
    size_t size = 1024;
    Traced_text gathered;
    for (size_t begin = 0; gather(in, size, gathered, as_it_looks); begin = in.position()) {
        // The text was refused before when it holds a NUL, so no line ends
        // early. The newline that ends the setting is stripped with the
        // blanks; one before it is a value's own.
        if (!gathered.empty() && gathered.back().c == '\n') gathered.pop_back();
        Setting setting;
        if (!read_setting(resolve_escapes(gathered), setting)) continue;
        setting.first_line = line_of(line_list, begin);
        setting.last_line = line_of(line_list, in.position() - 1);
        settings.push_back(setting);
    }
}

bool Xscreensaver_file::ends_in_backslash(const std::string& text, const Line& line)
{
    return line.end > line.begin && text[line.end - 1] == '\\';
}

bool Xscreensaver_file::goes_on(const std::string& text, const Line& line)
{
    if (line.terminated) return ends_in_backslash(text, line);
    size_t run = 0;
    while (run < line.end - line.begin && text[line.end - 1 - run] == '\\') ++run;
    return run % 2 == 1;
}

size_t Xscreensaver_file::entries_end(const std::string& text, const Line& line)
{
    return goes_on(text, line) ? line.end - 1 : line.end;
}

bool Xscreensaver_file::blank(const std::string& text, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i)
        if (text[i] != ' ' && text[i] != '\t') return false;
    return true;
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
        list.back().begin = start;
        list.back().end = end;
        start = end + 1;
    }
    return list;
}

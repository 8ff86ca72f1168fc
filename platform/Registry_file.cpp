#include "platform/Registry_file.h"

#include <cstdlib>
#include <vector>

#include "base/Whole_file.h"
#include "base/Byte_cursor.h"

const char* const Registry_file::default_path = "/etc/gardenlume/registry.reg";

namespace {

const char* const root_name = "HKEY_LOCAL_MACHINE\\";

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool same_name(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// Regedit writes version 5.00 files as UTF-16LE with a byte-order mark; the
// names we look for are ASCII, so other characters become '?'.
std::string narrow_utf16le(const std::string& bytes)
{
    std::string out;
    Byte_cursor in(bytes.data(), bytes.size());
    in.skip(2);
    uint8_t lo = 0, hi = 0;
    while (in.read_u8(lo) && in.read_u8(hi)) out.push_back(hi == 0 ? char(lo) : '?');
    return out;
}

// Splits into lines without their "\r\n" or "\n".
std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// Reads a quoted string with \\ and \" escapes starting at line[pos] == '"'.
// On success pos stands after the closing quote.
bool read_quoted(const std::string& line, size_t& pos, std::string& out)
{
    if (pos >= line.size() || line[pos] != '"') return false;
    out.clear();
    for (size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= line.size()) return false;
            char next = line[i + 1];
            if (next != '\\' && next != '"') return false;
            out.push_back(next);
            ++i;
            continue;
        }
        out.push_back(c);
    }
    return false;  // no closing quote
}

// A value line: "name"="data". Other data types (dword:, hex:) and anything
// malformed give false.
bool parse_string_value(const std::string& line, std::string& name, std::string& data)
{
    size_t pos = 0;
    if (!read_quoted(line, pos, name)) return false;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') return false;
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (!read_quoted(line, pos, data)) return false;
    return trim(line.substr(pos)).empty();
}

}  // namespace

std::string Registry_file::path_in_use()
{
    const char* env = std::getenv("GARDENLUME_REGISTRY");
    return (env && *env) ? std::string(env) : std::string(default_path);
}

bool Registry_file::find(const std::string& raw, const std::string& key_path, const std::string& value,
                         std::string& data)
{
    std::string text = raw;
    if (text.size() >= 2 && uint8_t(text[0]) == 0xFF && uint8_t(text[1]) == 0xFE)
        text = narrow_utf16le(text);
    else if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    std::vector<std::string> lines = split_lines(text);
    std::string header = trim(lines.front());
    if (header != "Windows Registry Editor Version 5.00" && header != "REGEDIT4") return false;

    const std::string wanted_key = root_name + key_path;
    bool in_key = false;
    bool found = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string line = trim(lines[i]);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            in_key = line.back() == ']' && same_name(line.substr(1, line.size() - 2), wanted_key);
            continue;
        }
        if (!in_key) continue;
        std::string name, text_data;
        if (!parse_string_value(line, name, text_data)) continue;
        // Importing the file would leave the last assignment in place.
        if (same_name(name, value)) {
            data = text_data;
            found = true;
        }
    }
    return found;
}

bool Registry_file::find_in_file(const std::string& path, const std::string& key_path,
                                 const std::string& value, std::string& data)
{
    std::vector<uint8_t> bytes;
    if (Whole_file::read(path, bytes, max_file_size) != Read_reason::ok) return false;
    const std::string text(bytes.begin(), bytes.end());
    return find(text, key_path, value, data);
}

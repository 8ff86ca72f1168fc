#include "tools/pak/Obj_text.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Skips the digits at `i`; how many there were.
size_t digits(std::string_view w, size_t& i)
{
    const size_t start = i;
    while (i < w.size() && is_digit(w[i])) ++i;
    return i - start;
}

bool is_decimal(std::string_view w)
{
    size_t i = 0;
    if (i < w.size() && (w[i] == '+' || w[i] == '-')) ++i;
    size_t count = digits(w, i);
    if (i < w.size() && w[i] == '.') count += digits(w, ++i);
    if (count == 0) return false;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        ++i;
        if (i < w.size() && (w[i] == '+' || w[i] == '-')) ++i;
        if (digits(w, i) == 0) return false;
    }
    return i == w.size();
}
}  // namespace

bool Obj_text::next_line()
{
    if (at >= text.size()) return false;
    size_t end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    line = text.substr(at, end - at);
    line = line.substr(0, line.find('\0'));
    ++line_number;
    at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    return true;
}

std::string_view Obj_text::word(std::string_view& rest)
{
    size_t start = 0;
    while (start < rest.size() && is_blank(rest[start])) ++start;
    size_t end = start;
    while (end < rest.size() && !is_blank(rest[end])) ++end;
    const std::string_view w = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return w;
}

std::string_view Obj_text::rest(std::string_view rest)
{
    const size_t start = rest.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return rest.substr(start, rest.find_last_not_of(" \t") + 1 - start);
}

size_t Obj_text::word_count(std::string_view rest)
{
    size_t n = 0;
    while (!word(rest).empty()) ++n;
    return n;
}

bool Obj_text::number(std::string_view w, double& value)
{
    if (!is_decimal(w)) return false;
    // strtod wants a NUL after the word; most words fit the buffer.
    char small[64];
    if (w.size() < sizeof small) {
        w.copy(small, w.size());
        small[w.size()] = 0;
        value = std::strtod(small, nullptr);
    } else {
        value = std::strtod(std::string(w).c_str(), nullptr);
    }
    return std::isfinite(value);
}

bool Obj_text::index(std::string_view w, long& value)
{
    const bool negative = w.size() > 1 && w[0] == '-';
    if (negative) w.remove_prefix(1);
    if (w.empty() || w.size() > 10) return false;
    long long v = 0;
    for (char c : w) {
        if (!is_digit(c)) return false;
        v = v * 10 + (c - '0');
    }
    if (v == 0 || v > INT_MAX) return false;
    value = long(negative ? -v : v);
    return true;
}

bool Obj_text::corner(std::string_view w, long indices[3])
{
    indices[0] = indices[1] = indices[2] = 0;
    std::string_view parts[3];
    size_t count = 0;
    for (;;) {
        const size_t slash = w.find('/');
        if (count == 3) return false;
        parts[count++] = w.substr(0, slash);
        if (slash == std::string_view::npos) break;
        w.remove_prefix(slash + 1);
    }
    // v//vn leaves the middle empty; no other part may be.
    for (size_t k = 0; k < count; ++k) {
        if (k == 1 && count == 3 && parts[k].empty()) continue;
        if (!index(parts[k], indices[k])) return false;
    }
    return true;
}

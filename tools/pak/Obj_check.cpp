#include "tools/pak/Obj_check.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The blank-separated words after a line's keyword.
std::vector<std::string> words(const char* p)
{
    std::vector<std::string> out;
    while (*p) {
        while (is_blank(*p)) ++p;
        const char* start = p;
        while (*p && !is_blank(*p)) ++p;
        if (p > start) out.emplace_back(start, p);
    }
    return out;
}

// A decimal the parser reads as written: [+-] digits [. digits] [e [+-] digits],
// or with the digits after the point only; and finite.
bool is_finite_number(const std::string& w)
{
    size_t i = 0;
    if (i < w.size() && (w[i] == '+' || w[i] == '-')) ++i;
    size_t digits = 0;
    while (i < w.size() && is_digit(w[i])) ++i, ++digits;
    if (i < w.size() && w[i] == '.') {
        ++i;
        while (i < w.size() && is_digit(w[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        ++i;
        if (i < w.size() && (w[i] == '+' || w[i] == '-')) ++i;
        size_t exponent_digits = 0;
        while (i < w.size() && is_digit(w[i])) ++i, ++exponent_digits;
        if (exponent_digits == 0) return false;
    }
    return i == w.size() && std::isfinite(std::strtod(w.c_str(), nullptr));
}

// An index as the parser reads it with atoi: digits with an optional
// minus, not 0, within an int.
bool is_index(const std::string& w)
{
    size_t i = w.size() > 1 && w[0] == '-' ? 1 : 0;
    if (i == w.size() || w.size() - i > 10) return false;
    for (size_t k = i; k < w.size(); ++k)
        if (!is_digit(w[k])) return false;
    const long long v = std::strtoll(w.c_str(), nullptr, 10);
    return v != 0 && v >= -INT_MAX && v <= INT_MAX;
}

// One corner: v, v/vt, v//vn or v/vt/vn.
bool is_corner(const std::string& w)
{
    std::vector<std::string> parts(1);
    for (char c : w) {
        if (c == '/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (parts.size() > 3 || !is_index(parts[0])) return false;
    if (parts.size() == 2 && !is_index(parts[1])) return false;
    if (parts.size() == 3 && ((!parts[1].empty() && !is_index(parts[1])) || !is_index(parts[2]))) return false;
    return true;
}

struct Numbers {
    const char* keyword;
    size_t least, most;
};
// The coordinates a line of each kind holds (a vertex may carry w or a
// colour after x y z).
const Numbers coordinates[] = {{"v", 3, 7}, {"vt", 1, 3}, {"vn", 3, 3}};
}  // namespace

bool Obj_check::refuse(size_t number, const std::string& what)
{
    problem = "line " + std::to_string(number) + ": " + what;
    return false;
}

bool Obj_check::line(const char* text, size_t number)
{
    while (is_blank(*text)) ++text;
    const char* end = text;
    while (*end && !is_blank(*end)) ++end;
    const std::string keyword(text, end);
    const std::vector<std::string> values = words(end);
    if (keyword == "f") {
        for (const std::string& w : values)
            if (!is_corner(w)) return refuse(number, "face corner \"" + w + "\" is not an index that an int holds (not 0)");
        // The parser drops faces of fewer than 3 corners.
        if (values.size() >= 3) face_corners.push_back(values.size());
        return true;
    }
    for (const Numbers& n : coordinates) {
        if (keyword != n.keyword) continue;
        if (values.size() < n.least || values.size() > n.most)
            return refuse(number, keyword + " holds " + std::to_string(values.size()) + " numbers, not " +
                                      std::to_string(n.least) + (n.least == n.most ? "" : " to " + std::to_string(n.most)));
        for (const std::string& w : values)
            if (!is_finite_number(w)) return refuse(number, "\"" + w + "\" is not a finite number");
    }
    return true;
}

bool Obj_check::check(const std::string& text)
{
    face_corners.clear();
    // Lines end as the parser ends them: at \n, \r\n or a lone \r. A NUL
    // ends what the parser sees of a line.
    size_t number = 0, at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        const std::string one(text, at, end - at);
        ++number;
        if (!line(one.c_str(), number)) return false;
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return true;
}

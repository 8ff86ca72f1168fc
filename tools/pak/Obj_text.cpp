#include "tools/pak/Obj_text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
// a + b or a - b (a not below b) of two digit strings of one length.
std::string add_digits(const std::string& a, const std::string& b, int sign)
{
    std::string out(a.size() + 1, '0');
    int carry = 0;
    for (size_t i = a.size(); i-- > 0;) {
        const int d = (a[i] - '0') + sign * (b[i] - '0') + carry;
        carry = d < 0 ? -1 : d / 10;
        out[i + 1] = char('0' + d - 10 * carry);
    }
    out[0] = char('0' + carry);
    return out;
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

bool Obj_text::turned_v(std::string_view w, double& value)
{
    if (w.empty()) w = "0";
    return number(w, value) && number(one_minus(w), value);
}

std::string Obj_text::one_minus(std::string_view w)
{
    size_t i = w.empty() || (w[0] != '-' && w[0] != '+') ? 0 : 1;
    const bool negative = i == 1 && w[0] == '-';
    std::string x;  // the digits, x being them times 10^exponent
    long long exponent = 0;
    for (; i < w.size() && is_digit(w[i]); ++i) x += w[i];
    if (i < w.size() && w[i] == '.')
        for (++i; i < w.size() && is_digit(w[i]); ++i) x += w[i], --exponent;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        const bool down = ++i < w.size() && w[i] == '-';
        if (i < w.size() && (w[i] == '-' || w[i] == '+')) ++i;
        long long e = 0;  // past any text's digits well before the cap
        for (; i < w.size() && is_digit(w[i]); ++i) e = std::min(e * 10 + (w[i] - '0'), 1LL << 50);
        exponent += down ? -e : e;
    }
    x.erase(0, std::min(x.find_first_not_of('0'), x.size()));
    const long long magnitude = exponent + static_cast<long long>(x.size());  // x is below 10^magnitude
    // Far below the gap between 1 and the double under it, x changes nothing;
    // far above every double, x is none (and "inf" no number).
    if (x.empty() || magnitude < -400) return "1";
    if (magnitude > 400) return "inf";
    // 1 and x as whole numbers of 10^-fraction, of one length.
    const size_t fraction = exponent < 0 ? size_t(-exponent) : 0;
    x.append(exponent > 0 ? size_t(exponent) : 0, '0');
    std::string one = "1" + std::string(fraction, '0');
    const size_t length = std::max(x.size(), one.size());
    x.insert(0, length - x.size(), '0');
    one.insert(0, length - one.size(), '0');
    const bool below_zero = !negative && x > one;
    std::string out = negative ? add_digits(one, x, 1) : below_zero ? add_digits(x, one, -1) : add_digits(one, x, -1);
    out.insert(out.size() - fraction, ".");
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    out.erase(0, std::min(out.find_first_not_of('0'), out.size()));
    if (out.empty() || out[0] == '.') out.insert(0, "0");
    return (below_zero ? "-" : "") + out;
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

std::string Obj_text::encoding_problem(const char* data, size_t size)
{
    const auto byte = [data](size_t i) { return uint8_t(data[i]); };
    if (size >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF)))
        return "is UTF-16 text: save it as UTF-8";
    // Without a mark: OBJ and MTL text is mostly ASCII, which UTF-16 writes
    // with a 0 byte beside each character, on one side of the pairs only.
    const size_t pairs = std::min<size_t>(size, 512) / 2;
    size_t zero[2] = {0, 0};
    for (size_t i = 0; i < 2 * pairs; ++i)
        if (byte(i) == 0) ++zero[i % 2];
    for (size_t side = 0; side < 2; ++side)
        if (pairs > 0 && 2 * zero[side] >= pairs && 8 * zero[1 - side] < pairs)
            return "looks like UTF-16 text (every other byte is 0): save it as UTF-8";
    return "";
}

size_t Obj_text::bom_length(const char* data, size_t size)
{
    return size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

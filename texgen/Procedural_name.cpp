#include "texgen/Procedural_name.h"

#include <cctype>
#include <cstring>

namespace {
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Reads a decimal integer at p as a stream would (white space, sign,
// digits); the value is capped just past max so any length of digits stays
// harmless. False when no digit is there.
bool read_int(const char*& p, int cap, int& out)
{
    while (*p && is_space(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!is_digit(*p)) return false;
    long value = 0;
    while (is_digit(*p)) {
        value = value * 10 + (*p - '0');
        if (value > cap) value = long(cap) + 1;
        ++p;
    }
    out = int(negative ? -value : value);
    return true;
}
}  // namespace

bool Procedural_name::parse(const char* name)
{
    kind.clear();
    parameters.clear();
    width = height = 0;
    if (!name) return false;
    size_t length = std::strlen(name);
    if (length < 2) return false;
    const char* p = name + 2;
    while (*p && !is_digit(*p)) kind += *p++;
    if (!*p) return false;  // no digit after the flags
    if (!read_int(p, max_size, width)) return false;
    if (!*p) return false;  // no separator, so no height
    ++p;
    if (!read_int(p, max_size, height)) return false;
    if (width < 1 || width > max_size || height < 1 || height > max_size) return false;
    while (*p && is_space(*p)) ++p;
    const char* word = p;
    while (*p && !is_space(*p)) ++p;
    parameters.assign(word, size_t(p - word));
    return true;
}

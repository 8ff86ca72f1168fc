#include "tools/pak/Obj_name.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A byte no Windows file name holds (":" would name an NTFS stream), or a
// blank, which MTL readers take for the end of the name.
bool refused_in_file_names(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u <= ' ' || u == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

// The names Windows keeps for devices, in any case; "COM¹" to "COM³" (in
// UTF-8) are among them too.
bool device_name(const std::string& stem)
{
    std::string upper = stem;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (upper == device) return true;
    if (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0) return false;
    const std::string number = upper.substr(std::min<size_t>(3, upper.size()));
    if (number.size() == 1) return number[0] >= '0' && number[0] <= '9';
    return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}
}  // namespace

std::string Obj_name::encode(const std::string& name)
{
    std::string out;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F || c == '%') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", unsigned(u));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Obj_name::decode(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 && hex_digit(text[i + 2]) >= 0) {
            out += char(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Obj_name::file_name(const std::string& name, const std::string& suffix)
{
    std::string out = name;
    for (char& c : out)
        if (refused_in_file_names(c)) c = '_';
    const bool has_suffix =
        out.size() >= suffix.size() && out.compare(out.size() - suffix.size(), suffix.size(), suffix) == 0;
    if (!has_suffix) out += suffix;
    // Windows opens the device for "NUL" and for "nul.anything" alike.
    const size_t dot = std::min(out.find('.'), out.size());
    if (device_name(out.substr(0, dot))) out.insert(dot, "_");
    return out;
}

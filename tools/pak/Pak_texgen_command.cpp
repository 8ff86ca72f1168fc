// The texgen command: a procedural texture's image at one time, as PNG.
#include "tools/pak/Pak_commands.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/Atomic_file.h"
#include "texgen/Plasma_image.h"
#include "texgen/Procedural_name.h"
#include "tools/common/Png_writer.h"
#include "tools/pak/Pak_io.h"

namespace {
bool parse_int32(const std::string& text, int32_t& out)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}
}  // namespace

int Pak_commands::texgen(const Args& a)
{
    Procedural_name name;
    if (!name.parse(a[0].c_str())) {
        Pak_io::problem(a[0], "not a procedural texture name (flags, kind, WIDTHxHEIGHT within 1..4096, parameters)");
        return Pak_io::failure;
    }
    if (name.kind != "Plasma") {
        Pak_io::problem(a[0], "unknown kind \"" + name.kind + "\" (only Plasma)");
        return Pak_io::failure;
    }
    int32_t ms = 0;
    if (!parse_int32(a[1], ms)) {
        Pak_io::problem(a[1], "not a time in milliseconds");
        return Pak_io::usage_error;
    }
    Plasma_image plasma(name.width, name.height, name.parameters.c_str());
    plasma.compute(ms);
    const std::vector<uint8_t> png = Png_writer::encode(plasma.width, plasma.height, plasma.pixels);
    if (png.empty()) {
        Pak_io::problem(a[2], "the image cannot be encoded as PNG");
        return Pak_io::failure;
    }
    // Written whole or not at all, and the failure said with the system's
    // words ("Permission denied", "No space left on device").
    unsigned mode = 0;
    Atomic_file::inspect(a[2], mode);
    const Write_status written = Atomic_file::replace(a[2], a[2] + ".tmp-XXXXXX", png.data(), png.size(), mode);
    if (!written.ok()) {
        Pak_io::problem(a[2], written.text());
        return Pak_io::failure;
    }
    std::printf("%s: written, %dx%d at %d ms\n", a[2].c_str(), plasma.width, plasma.height, ms);
    return Pak_io::ok;
}

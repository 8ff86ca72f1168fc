#include "tools/pak/Picture_check.h"

#include <cstring>

#include "resources/Image_rgba.h"

namespace {
bool shared_format(const char* format)
{
    return format && (std::strcmp(format, "PNG") == 0 || std::strcmp(format, "JPEG") == 0);
}

int32_t clamp_size(size_t size) { return size > size_t(INT32_MAX) ? INT32_MAX : int32_t(size); }
}  // namespace

bool Picture_check::is_picture(const uint8_t* data, size_t size)
{
    const Image_rgba::Header h = Image_rgba::read_header(data, clamp_size(size));
    return h.format || h.width > 0;
}

std::string Picture_check::problem(const uint8_t* data, size_t size)
{
    const Image_rgba::Header h = Image_rgba::read_header(data, clamp_size(size));
    if (!h.format) return "is not a picture";
    if (!shared_format(h.format))
        return "is a picture in " + std::string(h.format) +
               " format: packs take PNG and JPEG only, the formats both builds decode";
    if (h.width < 1 || h.height < 1) return "is a picture in " + std::string(h.format) + " format whose header gives no size";
    if (!Image_rgba::size_allowed(h))
        return "is a picture of " + std::to_string(h.width) + "x" + std::to_string(h.height) + ", over " +
               std::to_string(Image_rgba::max_side) + " pixels on a side";
    // Decoded once by each build's decoder (the same one twice on Windows),
    // one after the other, so that only one picture is held at a time.
    const std::string picture = "is a picture in " + std::string(h.format) + " format ";
    if (!Image_rgba().decode(data, clamp_size(size))) return picture + "that does not decode";
    if (!Image_rgba::stb_reads(data, clamp_size(size))) return picture + "that the Windows build's decoder cannot read";
    return "";
}

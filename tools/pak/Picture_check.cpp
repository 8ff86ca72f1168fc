#include "tools/pak/Picture_check.h"

#include <cstdlib>
#include <cstring>

#include "resources/Image_rgba.h"
#include "tools/pak/Picture_resize.h"

namespace {
bool shared_format(const char* format)
{
    return format && (std::strcmp(format, "PNG") == 0 || std::strcmp(format, "JPEG") == 0);
}

int32_t clamp_size(size_t size) { return size > size_t(INT32_MAX) ? INT32_MAX : int32_t(size); }

// The Windows build decodes with stb_image itself: held to stb_image's
// pixels, a picture would only be decoded twice by the same decoder.
#ifdef GARDENLUME_IMAGES_BY_STB
constexpr bool decoded_by_stb = true;
#else
constexpr bool decoded_by_stb = false;
#endif

// libjpeg and stb_image round their transforms differently: a channel
// apart by a few steps is the same picture (photographs differ by at most
// 6); further apart, it is another picture.
const int jpeg_tolerance = 12;

uint32_t big_endian(const uint8_t* p)
{
    uint8_t b[4];
    std::memcpy(b, p, 4);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

// The first pixel (counted along the rows, top first) where a channel of
// two pictures of one size is more than `tolerance` apart; -1 when none is.
long first_difference(const Image_rgba& a, const Image_rgba& b, int tolerance)
{
    const size_t n = size_t(a.width()) * size_t(a.height());
    for (size_t at = 0; at < n; ++at)
        for (size_t k = 0; k < 4; ++k)
            if (std::abs(int(a.pixels()[at * 4 + k]) - int(b.pixels()[at * 4 + k])) > tolerance) return long(at);
    return -1;
}

// Why SDL_image and stb_image part over a PNG, from its chunks before the
// pixels (each chunk's length checked against the bytes): 16 bits a channel
// with a transparent colour (SDL_image matches the colour's low byte against
// the high one).
std::string png_reason(const uint8_t* data, size_t size)
{
    if (size < 33) return "";
    const int depth = data[24];
    bool transparent_colour = false;
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t length = big_endian(data + at);
        if (length > size - at - 12 || std::memcmp(data + at + 4, "IDAT", 4) == 0) break;
        if (std::memcmp(data + at + 4, "tRNS", 4) == 0) transparent_colour = true;
        at += 12 + size_t(length);
    }
    if (depth == 16 && transparent_colour)
        return " (16 bits a channel with a transparent colour, tRNS: save it with 8 bits or an alpha channel)";
    return "";
}
}  // namespace

bool Picture_check::is_picture(const uint8_t* data, size_t size)
{
    const Image_rgba::Header h = Image_rgba::read_header(data, clamp_size(size));
    return h.format || h.width > 0;
}

std::string Picture_check::problem(const uint8_t* data, size_t size, Image_rgba* decoded)
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
    // Decoded by this build's decoder, then held to stb_image's pixels (the
    // Windows build's): a pack must look the same in both (already so when
    // this build is the Windows one). stb_image goes first: its own decoding
    // holds the inflated rows beside its output, and with the other
    // decoder's pixels already made that would be a third picture.
    const std::string picture = "is a picture in " + std::string(h.format) + " format ";
    Image_rgba by_stb;
    const bool stb_read = !decoded_by_stb && by_stb.decode_with_stb(data, clamp_size(size));
    Image_rgba image;
    if (!image.decode(data, clamp_size(size))) return picture + "that does not decode";
    if (image.indexed_past_palette())
        return picture + "whose pixels index past its palette: the Linux and Windows builds show them differently";
    if (!decoded_by_stb) {
        const bool jpeg = std::strcmp(h.format, "JPEG") == 0;
        if (!stb_read) return picture + "that the Windows build's decoder cannot read";
        if (by_stb.width() != image.width() || by_stb.height() != image.height())
            return picture + "that the Windows build's decoder reads at another size";
        const long at = first_difference(by_stb, image, jpeg ? jpeg_tolerance : 0);
        if (at >= 0)
            return picture + "that the Linux and Windows builds show differently, first at pixel " +
                   std::to_string(at % image.width()) + "," + std::to_string(at / image.width()) +
                   (jpeg ? "" : png_reason(data, size));
    }
    if (decoded) *decoded = std::move(image);
    return "";
}

std::string Picture_check::upload_warning(const uint8_t* data, size_t size)
{
    const Image_rgba::Header h = Image_rgba::read_header(data, clamp_size(size));
    if (h.width < 1 || h.height < 1 || Picture_resize::fits(h.width, h.height)) return "";
    return "is a picture of " + std::to_string(h.width) + "x" + std::to_string(h.height) +
           ", which shows white on renderers that take only power-of-two sides of at most " +
           std::to_string(Picture_resize::max_side) + " (Windows' own, old drivers); scale it to " +
           std::to_string(Picture_resize::side_for(h.width)) + "x" + std::to_string(Picture_resize::side_for(h.height));
}

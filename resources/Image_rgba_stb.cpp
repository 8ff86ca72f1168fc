// stb_image behind Image_rgba: the decoder of the Windows build, compiled
// on Linux too so that a test holds it to SDL_image's pixels.
#include "resources/Image_rgba.h"

#include <cstring>

// Images come from memory only. Sides are bounded by max_side before any
// decoding; stb's own bound is left at its default so that the info call
// still reports the size of a larger picture.
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {
struct Signature {
    const char* format;
    size_t at;
    const char* bytes;
    size_t length;
    bool weak;  // short enough to begin other data: a picture only when stb sizes it
};

// The formats either decoder may read, known by their first bytes (TGA has
// none: stb's info call finds it).
const Signature signatures[] = {
    {"PNG", 0, "\x89PNG\r\n\x1a\n", 8, false}, {"JPEG", 0, "\xFF\xD8\xFF", 3, false},
    {"GIF", 0, "GIF8", 4, false},               {"XPM", 0, "/* XPM */", 9, false},
    {"TIFF", 0, "II*\0", 4, false},             {"TIFF", 0, "MM\0*", 4, false},
    {"WEBP", 8, "WEBP", 4, false},              {"XCF", 0, "gimp xcf", 8, false},
    {"PSD", 0, "8BPS", 4, false},               {"HDR", 0, "#?RADIANCE", 10, false},
    {"BMP", 0, "BM", 2, true},                  {"LBM", 0, "FORM", 4, true},
    {"PNM", 0, "P6", 2, true},                  {"PNM", 0, "P5", 2, true},
};

void release_stb(void* pixels) { stbi_image_free(pixels); }

// A PNG side: 4 bytes, most significant first, at most 2^31 - 1.
int big_endian_side(const uint8_t* p)
{
    uint8_t b[4];
    std::memcpy(b, p, 4);
    const uint32_t v = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    return v > 0x7FFFFFFFu ? 0 : int(v);
}
}  // namespace

Image_rgba::Header Image_rgba::read_header(const uint8_t* data, int32_t size)
{
    Header header;
    if (!data || size <= 0) return header;
    const Signature* found = nullptr;
    for (const Signature& s : signatures)
        if (size_t(size) >= s.at + s.length && std::memcmp(data + s.at, s.bytes, s.length) == 0) {
            found = &s;
            break;
        }
    header.format = found ? found->format : nullptr;
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(data, size, &width, &height, &channels) && width > 0 && height > 0) {
        header.width = width;
        header.height = height;
        if (!header.format) header.format = "TGA";
    } else if (found && found->weak) {
        header.format = nullptr;
    } else if (header.format && std::strcmp(header.format, "PNG") == 0 && size >= 24) {
        // stb declines to size a PNG over 2^30 bytes of pixels; its first
        // chunk still says how large it claims to be.
        header.width = big_endian_side(data + 16);
        header.height = big_endian_side(data + 20);
    }
    return header;
}

bool Image_rgba::size_allowed(const Header& h)
{
    return h.width >= 1 && h.height >= 1 && h.width <= max_side && h.height <= max_side;
}

void Image_rgba::clear()
{
    w = h = 0;
    native = past = false;
    rgba.reset();
}

bool Image_rgba::decode_with_stb(const uint8_t* data, int32_t size)
{
    clear();
    if (!data || size <= 0 || !size_allowed(read_header(data, size))) return false;
    int width = 0, height = 0, channels = 0;
    // Four channels asked for: grey, grey+alpha and RGB come out RGBA with
    // alpha 255 where the file has none; 16-bit channels keep their high byte.
    stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (!pixels) return false;
    // stb's own buffer is kept: it is already the layout wanted.
    rgba = std::unique_ptr<uint8_t, Release>(pixels, Release{release_stb});
    if (width < 1 || height < 1) {
        rgba.reset();
        return false;
    }
    w = width;
    h = height;
    native = channels == 4;
    return true;
}

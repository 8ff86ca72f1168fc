// stb_image behind Image_rgba: the decoder of the Windows build, compiled
// on Linux too so that a test holds it to SDL_image's pixels.
#include "resources/Image_rgba.h"

#include <cstring>

// Images come from memory only; larger sides than this are refused before
// anything is allocated for them.
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

bool Image_rgba::decode_with_stb(const uint8_t* data, int32_t size)
{
    w = h = 0;
    native = false;
    rgba.clear();
    if (!data || size <= 0) return false;
    int width = 0, height = 0, channels = 0;
    // Four channels asked for: grey, grey+alpha and RGB come out RGBA with
    // alpha 255 where the file has none; 16-bit channels keep their high byte.
    stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (!pixels) return false;
    if (width < 1 || height < 1) {
        stbi_image_free(pixels);
        return false;
    }
    w = width;
    h = height;
    native = channels == 4;
    const size_t bytes = size_t(w) * size_t(h) * 4;
    rgba.resize(bytes);
    std::memcpy(rgba.data(), pixels, bytes);
    stbi_image_free(pixels);
    return true;
}

// Hands an RGBA image to a GL texture the one way every texture of the
// saver is set up: level 0, RGBA, modulate, linear filters.
#pragma once
#include <cstdint>

class Texture_upload {
public:
    static void rgba(uint32_t texture, int width, int height, const uint8_t* pixels);
};
